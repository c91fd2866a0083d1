// CSystemMenu: the entries a dialog adds to its window menu.
//
// Linux desktops keep the window menu to themselves, so the entries appear
// in the dialog's context menu instead (right-click on the dialog). An
// entry appended with MF_STRING sends its identifier to the dialog as a
// system command (OnSysCommand), like a window menu entry; one appended
// with AppendCommand sends it as a command (OnCommand), like a menu bar
// entry. Entries may carry a keyboard shortcut that works anywhere in the
// dialog.
#pragma once

#include <QString>
#include <string>
#include <vector>

#include "ui/platform/WinDefs.h"

class CDialog;
class QAction;

class CSystemMenu {
public:
    explicit CSystemMenu(CDialog& owner);

    // MF_SEPARATOR, or MF_STRING with the system command ID and TEXT
    // ("&" marks a mnemonic). Returns FALSE for other flags.
    BOOL AppendMenu(UINT nFlags, UINT nIDNewItem = 0, const std::string& text = std::string());
    BOOL AppendCommand(UINT nID, const std::string& text);
    // Gives the entry ID the shortcut KEYS ("F1"); FALSE without such an entry.
    BOOL SetShortcut(UINT nID, const QString& keys);

    // The entry that sends ID, or nullptr.
    QAction* FindEntry(UINT nID) const;

private:
    // A new entry at the end of the context menu, sending nothing yet.
    QAction* Append(UINT nID, const std::string& text);

    CDialog& m_owner;
    std::vector<std::pair<UINT, QAction*>> m_entries;  // separators with ID 0
};
