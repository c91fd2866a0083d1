// The menu probes on the Win32 twin: the window's menu (its bar) and the
// dialog's context menu, each entry's shortcut after a tab in its text.
#include "ui/platform/win32/WinApi.h"

#include "tests/ui/probes_menus.h"

#include "ui/platform/win32/DialogWindow.h"
#include "ui/platform/win32/WideText.h"

namespace {

// Entry POSITION of HMENU as shown; FALSE for a separator.
bool EntryAt(HMENU hMenu, int position, MenuItemShown& item) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STRING;
    if (!GetMenuItemInfoW(hMenu, static_cast<UINT>(position), TRUE, &info) ||
        (info.fType & MFT_SEPARATOR) != 0) {
        return false;
    }
    std::wstring text(info.cch + 1, L'\0');
    info.dwTypeData = text.data();
    info.cch += 1;
    GetMenuItemInfoW(hMenu, static_cast<UINT>(position), TRUE, &info);
    text.resize(info.cch);
    const std::size_t tab = text.find(L'\t');
    item.text = Narrow(text.substr(0, tab));
    item.shortcut = tab == std::wstring::npos ? std::string() : Narrow(text.substr(tab + 1));
    return true;
}

}  // namespace

std::vector<MenuItemShown> MenuBarEntries(CDialog& dlg) {
    std::vector<MenuItemShown> entries;
    const HMENU hBar = GetMenu(dlg.Window().Handle());
    if (hBar == nullptr || !dlg.IsWindowVisible()) {
        return entries;
    }
    for (int i = 0; i < GetMenuItemCount(hBar); ++i) {
        MenuItemShown menu;
        const HMENU hPopup = GetSubMenu(hBar, i);
        if (hPopup == nullptr || !EntryAt(hBar, i, menu)) {
            continue;
        }
        for (int j = 0; j < GetMenuItemCount(hPopup); ++j) {
            MenuItemShown entry;
            if (EntryAt(hPopup, j, entry)) {
                entries.push_back({menu.text + '/' + entry.text, entry.shortcut});
            }
        }
    }
    return entries;
}

std::vector<MenuItemShown> ContextMenuEntries(CDialog& dlg) {
    std::vector<MenuItemShown> entries;
    const HMENU hMenu = dlg.Window().ContextMenu();
    for (int i = 0; hMenu != nullptr && i < GetMenuItemCount(hMenu); ++i) {
        MenuItemShown entry;
        if (EntryAt(hMenu, i, entry)) {
            entries.push_back(entry);
        }
    }
    return entries;
}
