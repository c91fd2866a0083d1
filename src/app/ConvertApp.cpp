#include "app/ConvertApp.h"

#include "ui/ConvertDlg.h"
#include "ui/platform/DialogTemplate.h"
#include "ui/platform/MessageBox.h"
#include "ui/platform/TextCodec.h"

namespace {

constexpr const char* kSection = "Files";
constexpr const char* kNotSpecified = "[Not Specified]";

}  // namespace

CConvertApp::CConvertApp() = default;

BOOL CConvertApp::InitInstance() {
    Enable3dControls();
    m_pszProfileName = "Korr2LD.INI";

    CConvertDlg dlg;
    m_pMainWnd = &dlg;

    dlg.m_strInputFile = GetProfileString(kSection, "Input", kNotSpecified);
    dlg.m_strOutputFile = GetProfileString(kSection, "Output", kNotSpecified);
    dlg.m_strMSFile = GetProfileString(kSection, "MS", "");
    dlg.m_strInletFile = GetProfileString(kSection, "Inlet", "");
    dlg.m_strMacroFile = GetProfileString(kSection, "Macro", "");
    dlg.m_strDataFile = GetProfileString(kSection, "Data", "");

    // A settings file that could not be read was left alone; say so before
    // the dialog starts from the defaults.
    for (const std::string& problem : GetProfileProblems()) {
        ShowMessageBox(nullptr,
                       DecodePath(problem) +
                           QStringLiteral("\n\nThe conversion starts with its default settings. "
                                          "When they are saved, the unreadable file is kept "
                                          "beside them with the extension \".bad\"."),
                       QString::fromLatin1(FindDialogTemplate(CConvertDlg::IDD)->caption),
                       MB_OK | MB_ICONEXCLAMATION);
    }

    if (!m_strStartFile.empty()) {
        dlg.SetStartInput(m_strStartFile);
    }

    const INT_PTR nResponse = dlg.DoModal();
    if (nResponse > 0) {
        WriteProfileString(kSection, "Input", dlg.m_strInputFile);
        WriteProfileString(kSection, "Output", dlg.m_strOutputFile);
        WriteProfileString(kSection, "MS", dlg.m_strMSFile);
        WriteProfileString(kSection, "Inlet", dlg.m_strInletFile);
        WriteProfileString(kSection, "Macro", dlg.m_strMacroFile);
        WriteProfileString(kSection, "Data", dlg.m_strDataFile);
    }

    m_pMainWnd = nullptr;
    return FALSE;
}
