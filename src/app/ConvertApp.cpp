#include "app/ConvertApp.h"

#include <algorithm>
#include <cctype>

#include "convert/DataSystemLoader.h"
#include "framework/MakeDirectories.h"
#include "framework/PathParts.h"
#include "framework/ProfileFile.h"
#include "framework/ProfileTakeOver.h"
#include "framework/UserFolders.h"
#include "ui/ConvertDlg.h"
#include "ui/platform/CommonDialogs.h"

namespace {

constexpr const char* kSection = "Files";
constexpr const char* kNotSpecified = "[Not Specified]";

}  // namespace

BOOL CConvertApp::InitInstance() {
    m_pszProfileName = "Korr2LD.INI";
    // A first start on Windows takes the values over from where its profile
    // service kept the bare-named file (docs: README, "On Windows").
    static_cast<void>(TakeOverProfileValues(GetProfilePath(), SystemProfilePaths(m_pszProfileName),
                                            kSection,
                                            {"Input", "Output", "MS", "Inlet", "Macro", "Data"}));

    CConvertDlg dlg;

    dlg.m_strInputFile = GetProfileString(kSection, "Input", kNotSpecified);
    dlg.m_strOutputFile = GetProfileString(kSection, "Output", kNotSpecified);
    dlg.m_strMSFile = GetProfileString(kSection, "MS", "");
    dlg.m_strInletFile = GetProfileString(kSection, "Inlet", "");
    dlg.m_strMacroFile = GetProfileString(kSection, "Macro", "");
    dlg.m_strDataFile = GetProfileString(kSection, "Data", "");

    // A settings file that could not be read was left alone; say so before
    // the dialog starts from the defaults.
    for (const std::string& problem : m_profileProblems) {
        AfxMessageBox(problem +
                          "\n\nThe conversion starts with its default settings. When they are "
                          "saved, the unreadable file is kept beside them with the extension "
                          "\".bad\".",
                      FindDialogTemplate(CConvertDlg::IDD)->caption, MB_OK | MB_ICONEXCLAMATION);
    }

    if (!m_strStartFile.empty()) {
        dlg.SetStartInput(m_strStartFile);
    }

    const INT_PTR nResponse = dlg.DoModal();
    if (nResponse > 0) {
        WriteProfileStrings(kSection, {{"Input", dlg.m_strInputFile},
                                       {"Output", dlg.m_strOutputFile},
                                       {"MS", dlg.m_strMSFile},
                                       {"Inlet", dlg.m_strInletFile},
                                       {"Macro", dlg.m_strMacroFile},
                                       {"Data", dlg.m_strDataFile}});
    }
    return FALSE;
}

BOOL CConvertApp::LoadDataSystemLibraries() {
    const auto where = ChooseDataSystemFolder(std::string());
    if (!where) {
        return TRUE;
    }
    const Result<DataSystemEntries> loaded = LoadDataSystem(*where, "korr2ld");
    if (!loaded.ok()) {
        std::string text = loaded.status().message() + '.';
        text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
        AfxMessageBox(text, FindDialogTemplate(CConvertDlg::IDD)->caption,
                      MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    InstallDataSystem(loaded.value());
    return TRUE;
}

std::string CConvertApp::GetProfilePath() const {
    if (m_pszProfileName == nullptr || *m_pszProfileName == '\0') {
        return std::string();
    }
    // The user's settings folder, by the system's rules (framework/UserFolders.h).
    const Result<std::string> directory = UserConfigFolder();
    if (!directory.ok()) {
        return std::string();
    }
    return directory.value() + "/" + m_pszProfileName;
}

std::string CConvertApp::GetProfileString(const char* lpszSection, const char* lpszEntry,
                                          const char* lpszDefault) {
    const std::string path = GetProfilePath();
    if (path.empty()) {
        return lpszDefault;
    }
    const CProfileFile profile(path);
    if (profile.GetLoadState() == CProfileFile::LoadState::kIgnored) {
        const std::string& problem = profile.GetLoadMessage();
        if (std::find(m_profileProblems.begin(), m_profileProblems.end(), problem) ==
            m_profileProblems.end()) {
            m_profileProblems.push_back(problem);
        }
    }
    return profile.GetString(lpszSection, lpszEntry, lpszDefault);
}

BOOL CConvertApp::WriteProfileString(const char* lpszSection, const char* lpszEntry,
                                     const std::string& value) {
    return WriteProfileStrings(lpszSection, {{lpszEntry, value}});
}

BOOL CConvertApp::WriteProfileStrings(const char* lpszSection,
                                      const std::vector<ProfileEntry>& entries) {
    const std::string path = GetProfilePath();
    if (path.empty()) {
        return FALSE;
    }
    // A folder that cannot be made shows in the failed save.
    static_cast<void>(MakeDirectories(FolderOf(path)));
    CProfileFile profile(path);
    // An entry that cannot be written (a value holding a line break) is left
    // out; the others are saved all the same.
    BOOL written = TRUE;
    for (const auto& [entry, value] : entries) {
        if (!profile.WriteString(lpszSection, entry, value)) {
            written = FALSE;
        }
    }
    return profile.Save() && written ? TRUE : FALSE;
}
