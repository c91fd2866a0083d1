// korr2ld: the desktop application. The application object does all the
// work in its start-up; there is no message loop after its dialog closes.
//
// The command line is read first, with only a core application, so that
// --help and --version work anywhere; then, without a display, or with one
// that cannot be opened, the program says so in one line and ends with
// exit status 1 rather than letting Qt abort it.
//
// For the documentation's screenshot only: with K2L_SCREENSHOT set to a
// file name, the main dialog saves a picture of itself there as soon as it
// is shown, and closes.
#include <QApplication>
#include <QPixmap>
#include <iostream>

#include "app/CommandLine.h"
#include "app/ConvertApp.h"
#include "app/PlatformStart.h"
#include "framework/Signals.h"
#include "ui/ResourceIds.h"
#include "ui/platform/Dialog.h"
#include "ui/platform/qt/DialogBuilder.h"
#include "ui/platform/qt/DialogWindow.h"

CConvertApp theApp;

namespace {

void ArrangeScreenshot(const QString& path) {
    CDialog::SetModalHook(IDD_KORR2LD_DIALOG, [path](CDialog& dlg) {
        dlg.Window().grab().save(path, "PNG");
        dlg.EndDialog(IDCANCEL);
    });
}

}  // namespace

int main(int argc, char* argv[]) {
    IgnoreFileSizeSignal();
    RemoveFilesOnInterrupt();
    QCoreApplication::setApplicationName(QStringLiteral("korr2ld"));
    QCoreApplication::setApplicationVersion(QStringLiteral(K2L_VERSION));
    StartRequest request;
    {
        const QCoreApplication core(argc, argv);
        request = ParseCommandLine(QCoreApplication::arguments(), std::cout, std::cerr);
    }
    if (!request.bRun) {
        return request.nExitCode;
    }
    if (!HasGraphicalSession()) {
        std::cerr << "korr2ld: the dialog needs a graphical session (DISPLAY and WAYLAND_DISPLAY "
                     "are not set); korr2ld-cli converts without one.\n";
        return 1;
    }

    PlatformStartGuard guard;
    QApplication application(argc, argv);
    guard.Passed();
    // The desktop finds the window's entry, and with it the icon, by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral(K2L_APP_ID));
    QApplication::setWindowIcon(QtIcon(LoadIcon(IDR_MAINFRAME)));
    theApp.m_strStartFile = request.strFile;

    if (!theApp.LoadDataSystemLibraries()) {
        return 1;
    }

    const QString screenshot = qEnvironmentVariable("K2L_SCREENSHOT");
    if (!screenshot.isEmpty()) {
        ArrangeScreenshot(screenshot);
    }

    if (!theApp.InitInstance()) {
        return 0;
    }
    return QApplication::exec();
}
