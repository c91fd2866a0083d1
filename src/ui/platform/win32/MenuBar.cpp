// The dialog's menus on Windows: the window menu's entries appended to the
// system menu, the others in a menu bar above the template's controls (the
// window grows by its height), all of them in the context menu (the window
// menu's first), their shortcuts in one accelerator table that the modal
// loop translates from every control.
#include "ui/platform/win32/WinApi.h"

#include "ui/platform/win32/DialogWindow.h"
#include "ui/platform/win32/WideText.h"

namespace {

std::wstring KeyName(const Accelerator& accelerator) {
    std::wstring name;
    if ((accelerator.modifiers & FCONTROL) != 0) {
        name += L"Ctrl+";
    }
    if ((accelerator.modifiers & FSHIFT) != 0) {
        name += L"Shift+";
    }
    if ((accelerator.modifiers & FALT) != 0) {
        name += L"Alt+";
    }
    if (accelerator.key >= VK_F1 && accelerator.key < VK_F1 + 24) {
        name += L"F" + std::to_wstring(accelerator.key - VK_F1 + 1);
    } else {
        name.push_back(static_cast<wchar_t>(accelerator.key));
    }
    return name;
}

// ENTRY's text with its shortcut after a tab, as menus show it.
std::wstring EntryText(const MenuEntry& entry) {
    std::wstring text = Widen(entry.text);
    if (entry.accelerator.key != 0) {
        text += L"\t" + KeyName(entry.accelerator);
    }
    return text;
}

}  // namespace

void CDialogWindow::SetMenus(const std::vector<Menu>& menus) {
    std::vector<ACCEL> accelerators;
    const HMENU hSystem = GetSystemMenu(m_hWnd, FALSE);
    m_hContextMenu = CreatePopupMenu();
    const HMENU hBar = CreateMenu();
    bool systemAdded = false;
    for (const bool system : {true, false}) {
        bool first = true;
        for (const Menu& menu : menus) {
            for (const MenuEntry& entry : menu.entries) {
                if (entry.systemCommand != system) {
                    continue;
                }
                if (system && !systemAdded) {
                    AppendMenuW(hSystem, MF_SEPARATOR, 0, nullptr);
                    systemAdded = true;
                }
                if (!system && first && GetMenuItemCount(m_hContextMenu) > 0) {
                    AppendMenuW(m_hContextMenu, MF_SEPARATOR, 0, nullptr);
                }
                first = false;
                const std::wstring text = EntryText(entry);
                if (system) {
                    AppendMenuW(hSystem, MF_STRING, entry.command, text.c_str());
                }
                AppendMenuW(m_hContextMenu, MF_STRING, entry.command, text.c_str());
                m_commands[entry.command] = system;
                if (entry.accelerator.key != 0) {
                    BYTE virt = FVIRTKEY;
                    virt |= (entry.accelerator.modifiers & FCONTROL) != 0 ? FCONTROL : 0;
                    virt |= (entry.accelerator.modifiers & FSHIFT) != 0 ? FSHIFT : 0;
                    virt |= (entry.accelerator.modifiers & FALT) != 0 ? FALT : 0;
                    accelerators.push_back(ACCEL{virt, static_cast<WORD>(entry.accelerator.key),
                                                 static_cast<WORD>(entry.command)});
                }
            }
        }
    }
    for (const Menu& menu : menus) {
        const HMENU hPopup = CreatePopupMenu();
        for (const MenuEntry& entry : menu.entries) {
            AppendMenuW(hPopup, MF_STRING, entry.command, EntryText(entry).c_str());
        }
        AppendMenuW(hBar, MF_POPUP, reinterpret_cast<UINT_PTR>(hPopup), Widen(menu.title).c_str());
    }
    if (!accelerators.empty()) {
        m_hAccelerators =
            CreateAcceleratorTableW(accelerators.data(), static_cast<int>(accelerators.size()));
    }
    // The bar takes its height from the window, not from the client area.
    RECT client;
    GetClientRect(m_hWnd, &client);
    SetMenu(m_hWnd, hBar);
    RECT frame = client;
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(m_hWnd, GWL_STYLE)), TRUE,
                       static_cast<DWORD>(GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE)));
    SetWindowPos(m_hWnd, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // A bar that wraps onto a second line: grow by what is still missing.
    RECT now;
    GetClientRect(m_hWnd, &now);
    if (now.bottom < client.bottom) {
        RECT window;
        GetWindowRect(m_hWnd, &window);
        SetWindowPos(m_hWnd, nullptr, 0, 0, window.right - window.left,
                     window.bottom - window.top + client.bottom - now.bottom,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}
