// korr2ld.exe: the desktop application on Windows. The application object
// does all the work in its start-up (app/ConvertApp.h, shared with Linux);
// there is no message loop after its dialog closes.
//
//   korr2ld.exe [FILE]
//
// FILE is a Korrin export to start with, as on Linux. Any other argument is
// answered with a message box naming the usage.
#include "ui/platform/win32/WinApi.h"

#include <string>

#include "app/ConvertApp.h"
#include "ui/ConvertDlg.h"
#include "ui/platform/CommonDialogs.h"
#include "ui/platform/win32/WideText.h"

CConvertApp theApp;

namespace {

constexpr const char* kUsage =
    "Usage: korr2ld.exe [FILE]\n\nFILE is a Korrin export to start with: the dialog opens with "
    "it chosen as the input file. korr2ld-cli.exe converts without the dialog.";

}  // namespace

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int /*show*/) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES |
                                                       ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    // The shell's file and folder dialogs want a single-threaded apartment.
    static_cast<void>(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));

    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    const std::string caption = FindDialogTemplate(CConvertDlg::IDD)->caption;
    if (argv != nullptr && argc > 1) {
        const std::wstring argument = argv[1];
        if (argument == L"--version") {
            AfxMessageBox("korr2ld " K2L_VERSION, caption, MB_OK);
            return 0;
        }
        if (argc > 2 || argument.empty() || argument[0] == L'-' || argument[0] == L'/') {
            const bool help = argument == L"--help" || argument == L"/?";
            AfxMessageBox(kUsage, caption, help ? MB_OK : MB_OK | MB_ICONEXCLAMATION);
            return help ? 0 : 2;
        }
        theApp.m_strStartFile = FullPathOf(Narrow(argument));
    }
    LocalFree(argv);

    const int status = theApp.LoadDataSystemLibraries() ? 0 : 1;
    if (status == 0) {
        theApp.InitInstance();
    }
    CoUninitialize();
    return status;
}
