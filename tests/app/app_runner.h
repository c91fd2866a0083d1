// Runs the application the way main does and answers its dialog in the test.
#pragma once

#include <functional>

#include "app/ConvertApp.h"
#include "tests/ui/scripted_user.h"
#include "ui/ConvertDlg.h"

// Runs APP's InitInstance; BODY acts on the dialog it shows, which is then
// closed with the Close button unless BODY ended it. Returns what
// InitInstance returned.
inline BOOL RunConvertApp(CConvertApp& app, const std::function<void(CConvertDlg&)>& body) {
    OnEveryRun(IDD_KORR2LD_DIALOG, [&body](CDialog& shown) {
        body(static_cast<CConvertDlg&>(shown));
        if (shown.IsWindowVisible()) {
            Click(shown, IDCANCEL);
        }
    });
    return app.InitInstance();
}
