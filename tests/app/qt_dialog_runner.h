// Runs a dialog modally in a test: BODY acts on the dialog once it is shown,
// modal and active; a dialog that BODY leaves open is then closed with
// IDCANCEL. No test ever waits for a user.
#pragma once

#include <QApplication>
#include <functional>

#include "ui/platform/Dialog.h"
#include "ui/platform/qt/DialogWindow.h"

template <typename Dlg>
INT_PTR RunModal(Dlg& dlg, const std::function<void(Dlg&)>& body) {
    CDialog::SetModalHook(Dlg::IDD, [&body](CDialog& shown) {
        QApplication::setActiveWindow(&shown.Window());
        body(static_cast<Dlg&>(shown));
        if (shown.IsWindowVisible()) {
            shown.EndDialog(IDCANCEL);
        }
    });
    const INT_PTR result = dlg.DoModal();
    CDialog::SetModalHook(Dlg::IDD, nullptr);
    return result;
}

// Answers every run of dialog template ID with BODY (for dialogs that
// another dialog opens); BODY must end the dialog.
inline void OnEveryRun(UINT id, std::function<void(CDialog&)> body) {
    CDialog::SetModalHook(id, [body = std::move(body)](CDialog& shown) {
        QApplication::setActiveWindow(&shown.Window());
        body(shown);
    });
}
