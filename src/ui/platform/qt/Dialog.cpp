#include "ui/platform/Dialog.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

#include "ui/platform/CommonDialogs.h"
#include "ui/platform/DataExchange.h"
#include "ui/platform/qt/ComboBox.h"
#include "ui/platform/qt/DialogBuilder.h"
#include "ui/platform/qt/MenuBar.h"
#include "ui/platform/qt/MessageBox.h"
#include "ui/platform/qt/TextCodec.h"

namespace {

QKeySequence KeysOf(const Accelerator& accelerator) {
    if (accelerator.key == 0) {
        return QKeySequence();
    }
    int key = static_cast<int>(accelerator.key);  // letters and digits are Qt's codes
    if (accelerator.key >= VK_F1 && accelerator.key < VK_F1 + 24) {
        key = Qt::Key_F1 + static_cast<int>(accelerator.key - VK_F1);
    }
    if ((accelerator.modifiers & FCONTROL) != 0) {
        key |= Qt::CTRL;
    }
    if ((accelerator.modifiers & FSHIFT) != 0) {
        key |= Qt::SHIFT;
    }
    if ((accelerator.modifiers & FALT) != 0) {
        key |= Qt::ALT;
    }
    return QKeySequence(key);
}

// The paths DATA brings when it brings local files only; FALSE otherwise.
bool LocalPaths(const QMimeData& data, std::vector<std::string>& paths) {
    const QList<QUrl> urls = data.urls();
    for (const QUrl& url : urls) {
        if (!url.isLocalFile()) {
            return false;
        }
        paths.push_back(EncodePath(url.toLocalFile()));
    }
    return !urls.isEmpty();
}

}  // namespace

INT_PTR CDialog::DoModal() {
    const DialogTemplate* dlgTemplate = FindDialogTemplate(m_nIDTemplate);
    if (dlgTemplate == nullptr) {
        return -1;
    }
    if (m_controls.empty()) {
        m_controls = CDialogBuilder::Build(*dlgTemplate, *this);
        for (const auto& [id, control] : m_controls) {
            if (auto* button = dynamic_cast<QPushButton*>(control)) {
                connect(button, &QPushButton::clicked, this, [this, id] { OnCommand(id); });
            }
        }
    }
    m_bEnded = false;
    m_nModalResult = -1;
    setModal(true);
    OnInitDialog();
    if (m_bEnded) {
        return m_nModalResult;
    }
    if (const ModalHook run = s_modalHooks[m_nIDTemplate]) {
        QTimer::singleShot(0, this, [this, run] {
            run(*this);
            if (!m_bEnded) {
                EndDialog(-1);
            }
        });
    } else if (ScriptedUser::s_pInstalled != nullptr) {
        return -1;
    }
    exec();
    return m_nModalResult;
}

void CDialog::EndDialog(int nResult) {
    m_bEnded = true;
    m_nModalResult = nResult;
    QDialog::done(nResult);
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (const CDataExchangeFailure&) {
        return FALSE;
    }
    return TRUE;
}

QWidget* CDialog::GetDlgItem(int nID) const {
    const auto found = m_controls.find(nID);
    return found != m_controls.end() ? found->second : nullptr;
}

void CDialog::EnableControl(int nID, BOOL bEnable) {
    if (QWidget* control = GetDlgItem(nID)) {
        control->setEnabled(bEnable != FALSE);
    }
}

BOOL CDialog::IsControlEnabled(int nID) const {
    const QWidget* control = GetDlgItem(nID);
    return control != nullptr && control->isEnabled();
}

std::string CDialog::GetDlgItemText(int nID) const {
    QWidget* control = GetDlgItem(nID);
    if (auto* label = dynamic_cast<QLabel*>(control)) {
        return EncodePath(label->text());
    }
    if (auto* button = dynamic_cast<QAbstractButton*>(control)) {
        return EncodePath(button->text());
    }
    if (auto* edit = dynamic_cast<QLineEdit*>(control)) {
        return EncodePath(edit->text());
    }
    if (auto* combo = dynamic_cast<QComboBox*>(control)) {
        return EncodePath(combo->currentText());
    }
    return std::string();
}

void CDialog::GotoDlgCtrl(int nID) {
    QWidget* control = GetDlgItem(nID);
    if (control == nullptr) {
        return;
    }
    control->setFocus(Qt::OtherFocusReason);
    if (auto* combo = dynamic_cast<QComboBox*>(control); combo != nullptr && combo->isEditable()) {
        combo->lineEdit()->selectAll();
    } else if (auto* edit = dynamic_cast<QLineEdit*>(control)) {
        edit->selectAll();
    }
}

int CDialog::GetFocusId() const {
    const QWidget* focus = QApplication::focusWidget();
    for (const auto& [id, control] : m_controls) {
        if (focus != nullptr && (focus == control || control->isAncestorOf(focus))) {
            return id;
        }
    }
    return 0;
}

std::string CDialog::GetWindowText() const {
    return EncodePath(windowTitle());
}

void CDialog::SetWindowText(const std::string& text) {
    setWindowTitle(DecodePath(text));
}

BOOL CDialog::IsWindowVisible() const {
    return isVisible();
}

void CDialog::SetIcon(HICON hIcon, BOOL /*bBigIcon*/) {
    setWindowIcon(QtIcon(hIcon));  // one icon serves every size the desktop shows
}

void CDialog::SetComboEntries(int nID, const std::vector<std::string>& entries) {
    auto* combo = GetDlgItemAs<CComboBox>(nID);
    if (combo == nullptr) {
        return;
    }
    QStringList names;
    for (const std::string& entry : entries) {
        names << DecodeRecordText(entry);
    }
    const QString shown = combo->GetWindowText();
    combo->clear();
    combo->addItems(names);
    combo->SetWindowText(shown);
}

int CDialog::GetComboCount(int nID) const {
    const auto* combo = GetDlgItemAs<CComboBox>(nID);
    return combo != nullptr ? combo->count() : 0;
}

std::string CDialog::GetComboEntry(int nID, int nIndex) const {
    const auto* combo = GetDlgItemAs<CComboBox>(nID);
    return combo != nullptr ? EncodePath(combo->itemText(nIndex)) : std::string();
}

void CDialog::SetCueBanner(int nID, const std::string& shown, const std::string& said) {
    if (auto* combo = GetDlgItemAs<CComboBox>(nID)) {
        combo->SetPlaceholder(DecodePath(shown), DecodePath(said));
    }
}

void CDialog::SetMenus(const std::vector<Menu>& menus) {
    if (m_bMenusSet) {
        return;
    }
    m_bMenusSet = true;
    // Linux desktops keep the window menu to themselves: its entries, and
    // the others, are in the context menu (the window menu's first, after a
    // separator, as they are appended to it) and in a menu bar of the
    // dialog's own, one action each.
    setContextMenuPolicy(Qt::ActionsContextMenu);
    addAction(QString())->setSeparator(true);
    std::map<const MenuEntry*, QAction*> actions;
    for (const bool system : {true, false}) {
        for (const Menu& menu : menus) {
            for (const MenuEntry& entry : menu.entries) {
                if (entry.systemCommand != system) {
                    continue;
                }
                QAction* action =
                    addAction(DecodePath(entry.text), this, [this, id = entry.command, system] {
                        if (system) {
                            SendSysCommand(id);
                        } else {
                            SendCommand(id);
                        }
                    });
                action->setShortcut(KeysOf(entry.accelerator));
                action->setShortcutVisibleInContextMenu(true);
                actions[&entry] = action;
            }
        }
    }
    auto* bar = new QMenuBar(this);
    for (const Menu& menu : menus) {
        QMenu* shown = bar->addMenu(DecodePath(menu.title));
        for (const MenuEntry& entry : menu.entries) {
            shown->addAction(actions[&entry]);
        }
    }
    PlaceMenuBarAbove(*this, *bar);
}

void CDialog::DragAcceptFiles(BOOL bAccept) {
    setAcceptDrops(bAccept != FALSE);
}

void CDialog::dragEnterEvent(QDragEnterEvent* event) {
    std::vector<std::string> paths;
    if (LocalPaths(*event->mimeData(), paths) && OnDropFiles(paths, FALSE)) {
        event->acceptProposedAction();
    }
}

void CDialog::dropEvent(QDropEvent* event) {
    std::vector<std::string> paths;
    if (LocalPaths(*event->mimeData(), paths) && OnDropFiles(paths, TRUE)) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

int CDialog::MessageBox(const std::string& text, const std::string& caption, UINT nType,
                        const std::string& detail, const std::string& details) {
    return MessageBox(DecodePath(text), caption, nType, detail, details);
}

int CDialog::MessageBox(const QString& text, const std::string& caption, UINT nType,
                        const std::string& detail, const std::string& details) {
    return ShowMessageBox(this, text, DecodePath(caption), nType, DecodePath(detail),
                          DecodePath(details));
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (UpdateData(TRUE)) {
        EndDialog(IDOK);
    }
}

BOOL CDialog::OnCommand(UINT nID) {
    if (nID == IDOK) {
        OnOK();
    } else if (nID == IDCANCEL) {
        OnCancel();
    } else {
        return FALSE;
    }
    return TRUE;
}
