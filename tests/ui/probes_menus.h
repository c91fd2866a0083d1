// What a dialog's menus show, the same on either twin of the dialog layer
// (qt/probes_menus.cpp, win32/probes_menus.cpp).
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "ui/platform/Dialog.h"

// A menu entry as shown: its text ("&" marks a mnemonic) and the shortcut
// shown beside it ("Ctrl+O", "F1"; empty: none).
struct MenuItemShown {
    std::string text;
    std::string shortcut;
    bool operator==(const MenuItemShown&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const MenuItemShown& item) {
    return out << '"' << item.text << "\" [" << item.shortcut << ']';
}

// The entries of the menu bar inside the dialog's window, in order, each
// text as "Menu/Entry"; empty when the window shows no menu bar of its own.
std::vector<MenuItemShown> MenuBarEntries(CDialog& dlg);
// The entries of the dialog's context menu, in order, separators left out;
// empty when the dialog has none.
std::vector<MenuItemShown> ContextMenuEntries(CDialog& dlg);
