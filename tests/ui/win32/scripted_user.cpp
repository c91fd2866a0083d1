// The scripted user on the Win32 twin: keyboard messages made as the
// keyboard driver makes them, for the window that has the focus, handled
// as the dialog's modal loop handles its messages (CDialogWindow::Process:
// the accelerators, then the dialog manager); then whatever they posted is
// handled too, so that an action has had its whole effect on return.
#include "ui/platform/win32/WinApi.h"

#include "tests/ui/scripted_user.h"

#include "tests/ui/win32/dialog_key.h"

#include <array>

#include "ui/platform/win32/DialogWindow.h"
#include "ui/platform/win32/WideText.h"

namespace {

// The modifier keys held down while an action runs, in the thread's key
// state, where TranslateAccelerator and the dialog manager read them.
class HeldModifiers {
public:
    HeldModifiers(bool control, bool shift, bool alt) {
        GetKeyboardState(m_saved.data());
        std::array<BYTE, 256> state = m_saved;
        const auto hold = [&state](int key, bool down) {
            if (down) {
                state[key] |= 0x80;
            }
        };
        hold(VK_CONTROL, control);
        hold(VK_LCONTROL, control);
        hold(VK_SHIFT, shift);
        hold(VK_LSHIFT, shift);
        hold(VK_MENU, alt);
        hold(VK_LMENU, alt);
        SetKeyboardState(state.data());
    }
    ~HeldModifiers() { SetKeyboardState(m_saved.data()); }
    HeldModifiers(const HeldModifiers&) = delete;
    HeldModifiers& operator=(const HeldModifiers&) = delete;

private:
    std::array<BYTE, 256> m_saved{};
};

// Handles what is queued for the program's windows, as the loop would.
void Settle(CDialog& dlg) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        dlg.Window().Process(msg);
    }
}

HWND FocusOr(CDialog& dlg) {
    const HWND focus = GetFocus();
    return focus != nullptr ? focus : dlg.Window().Handle();
}

// One message for the focused window, handled as the loop handles it.
void Deliver(CDialog& dlg, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG msg{};
    msg.hwnd = FocusOr(dlg);
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = GetTickCount();
    dlg.Window().Process(msg);
    Settle(dlg);
}

// A key's press and release (lParam as the keyboard driver sets it: the
// repeat count, the scan code, the context bit for Alt, the transition).
void Stroke(CDialog& dlg, UINT vk, bool alt) {
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)) << 16;
    const LPARAM context = alt ? (LPARAM{1} << 29) : 0;
    Deliver(dlg, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, 1 | scan | context);
    Deliver(dlg, alt ? WM_SYSKEYUP : WM_KEYUP, vk,
            static_cast<LPARAM>(1 | scan | context | (LPARAM{3} << 30)));
}

UINT VirtualKey(Key key) {
    switch (key) {
        case Key::kTab:
        case Key::kBackTab:
            return VK_TAB;
        case Key::kReturn:
            return VK_RETURN;
        case Key::kEscape:
            return VK_ESCAPE;
        case Key::kBackspace:
            return VK_BACK;
        case Key::kPageDown:
            return VK_NEXT;
    }
    return 0;
}

}  // namespace

void Activate(CDialog& dlg) {
    SetActiveWindow(dlg.Window().Handle());
    Settle(dlg);
}

void Press(CDialog& dlg, Key key) {
    const HeldModifiers held(false, key == Key::kBackTab, false);
    Stroke(dlg, VirtualKey(key), false);
}

void PressInDialog(HWND hDialog, Key key) {
    const HeldModifiers held(false, key == Key::kBackTab, false);
    const HWND hFocus = GetFocus();
    MSG msg{hFocus != nullptr ? hFocus : hDialog, WM_KEYDOWN, VirtualKey(key), 1, 0, {}};
    if (!IsDialogMessageW(hDialog, &msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void PressAlt(CDialog& dlg, char letter) {
    const HeldModifiers held(false, false, true);
    Stroke(dlg, static_cast<UINT>(letter), true);
}

void PressShortcut(CDialog& dlg, const Accelerator& accelerator) {
    const bool alt = (accelerator.modifiers & FALT) != 0;
    const HeldModifiers held((accelerator.modifiers & FCONTROL) != 0,
                             (accelerator.modifiers & FSHIFT) != 0, alt);
    Stroke(dlg, accelerator.key, alt);
}

void Type(CDialog& dlg, const std::string& text) {
    // What the keyboard layout makes of each key: one WM_CHAR per UTF-16
    // unit, for the focused control.
    for (const wchar_t unit : Widen(text)) {
        Deliver(dlg, WM_CHAR, unit, 1);
    }
}

void ClickInto(CDialog& dlg, int id) {
    const HWND control = dlg.Window().GetDlgItem(id);
    wchar_t className[16] = L"";
    GetClassNameW(control, className, 16);
    HWND edit = control;
    if (lstrcmpiW(className, L"ComboBox") == 0) {
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        GetComboBoxInfo(control, &info);
        edit = info.hwndItem;
    }
    SetFocus(edit);
    const LRESULT length = SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0);
    SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(length), length);
    Settle(dlg);
}

void Click(CDialog& dlg, int id) {
    SendMessageW(dlg.Window().GetDlgItem(id), BM_CLICK, 0, 0);
    Settle(dlg);
}

void ClickCloseBox(CDialog& dlg) {
    SendMessageW(dlg.Window().Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    Settle(dlg);
}

bool IsDefaultButton(CDialog& dlg, int id) {
    // Enter presses the focused push button, and the dialog's default one
    // from anywhere else.
    const HWND focus = GetFocus();
    const LRESULT code = focus != nullptr ? SendMessageW(focus, WM_GETDLGCODE, 0, 0) : 0;
    if ((code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0) {
        return focus == dlg.Window().GetDlgItem(id);
    }
    const LRESULT found = SendMessageW(dlg.Window().Handle(), DM_GETDEFID, 0, 0);
    return HIWORD(found) == DC_HASDEFID && static_cast<int>(LOWORD(found)) == id;
}

int ComboSelection(CDialog& dlg, int id) {
    const HWND combo = dlg.Window().GetDlgItem(id);
    return combo != nullptr ? static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0)) : -1;
}

bool WaitCursorShown() {
    return GetCursor() == LoadCursorW(nullptr, IDC_WAIT);
}
