// Menus and their shortcuts, described as data.
//
// A dialog gives its menus once (CDialog::SetMenus). An entry sends its
// command to the dialog, as a window menu entry (a system command, which
// OnSysCommand gets) or as a command (OnCommand). On Linux the entries are
// in a menu bar of the dialog's own above the template's controls and in
// the dialog's context menu, the window menu's entries first, each with
// its shortcut shown; the shortcuts work from every control of the dialog.
#pragma once

#include <string>
#include <vector>

#include "ui/platform/WinDefs.h"

// Modifier bits of a shortcut.
inline constexpr unsigned FCONTROL = 0x08;
inline constexpr unsigned FSHIFT = 0x04;
inline constexpr unsigned FALT = 0x10;

// Keys of a shortcut besides the letters 'A'-'Z' and digits '0'-'9'.
inline constexpr UINT VK_F1 = 0x70;

// A shortcut: a key (0: none) with modifier bits.
struct Accelerator {
    UINT key = 0;
    unsigned modifiers = 0;
};

struct MenuEntry {
    std::string text;  // "&" marks a mnemonic
    UINT command;
    Accelerator accelerator{};
    bool systemCommand = false;  // an entry of the window menu
};

struct Menu {
    std::string title;  // "&" marks a mnemonic
    std::vector<MenuEntry> entries;
};
