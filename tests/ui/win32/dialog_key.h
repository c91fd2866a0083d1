// A key pressed in a window of the system's dialog manager that is no
// CDialog (the table window, a message box), for the Win32 twin's probes.
#pragma once

#include "ui/platform/win32/WinApi.h"

#include "tests/ui/scripted_user.h"

// Presses KEY where the focus is in dialog hDialog, as the dialog's own
// modal loop would take it (IsDialogMessage); returns once it is handled.
inline void PressInDialog(HWND hDialog, Key key) {
    UINT vk = 0;
    switch (key) {
        case Key::kTab:
        case Key::kBackTab:
            vk = VK_TAB;
            break;
        case Key::kReturn:
            vk = VK_RETURN;
            break;
        case Key::kEscape:
            vk = VK_ESCAPE;
            break;
        case Key::kBackspace:
            vk = VK_BACK;
            break;
        case Key::kPageDown:
            vk = VK_NEXT;
            break;
    }
    BYTE keys[256];
    GetKeyboardState(keys);
    const BYTE shift = keys[VK_SHIFT];
    keys[VK_SHIFT] = key == Key::kBackTab ? 0x80 : 0;
    SetKeyboardState(keys);
    const HWND hFocus = GetFocus();
    MSG msg{hFocus != nullptr ? hFocus : hDialog, WM_KEYDOWN, vk, 1, 0, {}};
    if (!IsDialogMessageW(hDialog, &msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    keys[VK_SHIFT] = shift;
    SetKeyboardState(keys);
}
