// The menu probes on the Qt twin: the menu bar is a QMenuBar of the
// dialog's own; the context menu is the window's actions.
#include "tests/ui/probes_menus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "ui/platform/qt/DialogWindow.h"

std::vector<MenuItemShown> MenuBarEntries(CDialog& dlg) {
    std::vector<MenuItemShown> entries;
    const auto* bar = dlg.Window().findChild<QMenuBar*>();
    if (bar == nullptr || !bar->isVisible() || bar->isNativeMenuBar()) {
        return entries;
    }
    for (const QAction* menu : bar->actions()) {
        for (const QAction* action : menu->menu()->actions()) {
            if (!action->isSeparator()) {
                entries.push_back({(menu->text() + u'/' + action->text()).toStdString(),
                                   action->shortcut().toString().toStdString()});
            }
        }
    }
    return entries;
}

std::vector<MenuItemShown> ContextMenuEntries(CDialog& dlg) {
    std::vector<MenuItemShown> entries;
    if (dlg.Window().contextMenuPolicy() != Qt::ActionsContextMenu) {
        return entries;
    }
    for (const QAction* action : dlg.Window().actions()) {
        if (!action->isSeparator()) {
            entries.push_back(
                {action->text().toStdString(), action->isShortcutVisibleInContextMenu()
                                                   ? action->shortcut().toString().toStdString()
                                                   : std::string()});
        }
    }
    return entries;
}
