#include "ui/platform/SystemMenu.h"

#include <QAction>
#include <QKeySequence>

#include "ui/platform/Dialog.h"

CSystemMenu::CSystemMenu(CDialog& owner) : m_owner(owner) {}

BOOL CSystemMenu::AppendMenu(UINT nFlags, UINT nIDNewItem, const std::string& text) {
    if (nFlags == MF_SEPARATOR) {
        Append(0, std::string())->setSeparator(true);
        return TRUE;
    }
    if (nFlags != MF_STRING) {
        return FALSE;
    }
    QObject::connect(Append(nIDNewItem, text), &QAction::triggered, &m_owner,
                     [this, nIDNewItem] { m_owner.SendSysCommand(nIDNewItem); });
    return TRUE;
}

BOOL CSystemMenu::AppendCommand(UINT nID, const std::string& text) {
    QObject::connect(Append(nID, text), &QAction::triggered, &m_owner,
                     [this, nID] { m_owner.SendCommand(nID); });
    return TRUE;
}

QAction* CSystemMenu::Append(UINT nID, const std::string& text) {
    auto* action = new QAction(QString::fromLatin1(text), &m_owner);
    m_owner.addAction(action);
    m_owner.setContextMenuPolicy(Qt::ActionsContextMenu);
    m_entries.emplace_back(nID, action);
    return action;
}

BOOL CSystemMenu::SetShortcut(UINT nID, const QString& keys) {
    QAction* action = FindEntry(nID);
    if (action == nullptr) {
        return FALSE;
    }
    action->setShortcut(QKeySequence(keys));
    action->setShortcutContext(Qt::WindowShortcut);
    return TRUE;
}

QAction* CSystemMenu::FindEntry(UINT nID) const {
    for (const auto& [id, action] : m_entries) {
        if (id == nID && !action->isSeparator()) {
            return action;
        }
    }
    return nullptr;
}
