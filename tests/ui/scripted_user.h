// The user of the dialogs as a test scripts them, the same on either twin
// of the dialog layer (tests/ui/qt/scripted_user.cpp for Qt,
// tests/ui/win32/scripted_user.cpp for Win32, run under Wine).
//
// Each action goes the way a user's would: a key goes to the control that
// has the focus, through the window system's own handling (the dialog
// manager's Tab, Enter, Escape and mnemonics; the menus' shortcuts), and a
// click to a button. Every action returns once the dialog has handled it,
// including what it posted to itself; no test ever waits or sleeps.
#pragma once

#include <functional>
#include <string>

#include "ui/platform/Dialog.h"

enum class Key { kTab, kBackTab, kReturn, kEscape, kBackspace, kPageDown };

// Makes DLG the active window, as a user's click on its frame would.
void Activate(CDialog& dlg);
// Presses KEY where the focus is.
void Press(CDialog& dlg, Key key);
// Alt+LETTER ('A'-'Z'): a mnemonic of the dialog or of its menus.
void PressAlt(CDialog& dlg, char letter);
// A menu entry's shortcut as the menus declare it, from where the focus is.
void PressShortcut(CDialog& dlg, const Accelerator& accelerator);
// Types TEXT (UTF-8) where the focus is, one character at a time.
void Type(CDialog& dlg, const std::string& text);
// Puts the focus into control ID as a mouse click there does: an edit's
// caret at the end of its text, nothing selected.
void ClickInto(CDialog& dlg, int id);
// Clicks push button ID.
void Click(CDialog& dlg, int id);
// The window's close box.
void ClickCloseBox(CDialog& dlg);

// TRUE when Enter presses button ID where the focus is now.
bool IsDefaultButton(CDialog& dlg, int id);
// The entry combo box ID has selected, or -1.
int ComboSelection(CDialog& dlg, int id);
// TRUE while the wait cursor is shown.
bool WaitCursorShown();

// Runs DLG modally in a test: BODY acts on the dialog once it is shown,
// modal and active; a dialog that BODY leaves open is then closed with
// IDCANCEL. Returns what DoModal returned.
template <typename Dlg>
INT_PTR RunModal(Dlg& dlg, const std::function<void(Dlg&)>& body) {
    CDialog::SetModalHook(Dlg::IDD, [&body](CDialog& shown) {
        Activate(shown);
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
        Activate(shown);
        body(shown);
    });
}
