// CPushButton: a dialog's push button. Its mnemonic (Alt and the
// underlined letter) gives it the focus before it clicks, as dialogs do on
// the platform the templates come from: after a file choice the focus is
// on the button that opened it, not on whatever had it before (Close, on a
// first start), so the Enter that follows does not end the dialog.
#pragma once

#include <QPushButton>

class CPushButton : public QPushButton {
public:
    CPushButton(const QString& text, QWidget* parent);

protected:
    bool event(QEvent* event) override;
};
