// korr2ld: the desktop application. The application object does all the
// work in its start-up; there is no message loop after its dialog closes.
//
// For the documentation's screenshot only: with K2L_SCREENSHOT set to a
// file name, the main dialog saves a picture of itself there as soon as it
// is shown, and closes.
#include <QApplication>
#include <QPixmap>

#include "app/ConvertApp.h"
#include "framework/Signals.h"
#include "ui/Resource.h"
#include "ui/platform/Dialog.h"
#include "ui/platform/Resources.h"

CConvertApp theApp;

namespace {

void ArrangeScreenshot(const QString& path) {
    CDialog::SetModalHook(IDD_KORR2LD_DIALOG, [path](CDialog& dlg) {
        dlg.grab().save(path, "PNG");
        dlg.EndDialog(IDCANCEL);
    });
}

}  // namespace

int main(int argc, char* argv[]) {
    IgnoreFileSizeSignal();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("korr2ld"));
    QApplication::setWindowIcon(LoadIcon(IDR_MAINFRAME));

    const QString screenshot = qEnvironmentVariable("K2L_SCREENSHOT");
    if (!screenshot.isEmpty()) {
        ArrangeScreenshot(screenshot);
    }

    if (!theApp.InitInstance()) {
        return theApp.ExitInstance();
    }
    return QApplication::exec();
}
