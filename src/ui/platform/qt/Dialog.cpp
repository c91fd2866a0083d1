#include "ui/platform/Dialog.h"

#include "ui/platform/qt/DialogWindow.h"

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

CDialog::CDialog(UINT nIDTemplate, CDialog* pParentWnd)
    : m_nIDTemplate(nIDTemplate),
      m_pWindow(std::make_unique<CDialogWindow>(*this, QtWindowOf(pParentWnd))) {}

CDialog::~CDialog() = default;

void CDialogWindow::BuildControls(const DialogTemplate& dlgTemplate) {
    if (!m_controls.empty()) {
        return;
    }
    m_controls = CDialogBuilder::Build(dlgTemplate, *this);
    for (const auto& [id, control] : m_controls) {
        if (auto* button = dynamic_cast<QPushButton*>(control)) {
            connect(button, &QPushButton::clicked, this, [this, id] { m_dialog.OnCommand(id); });
        }
    }
}

QWidget* CDialogWindow::GetDlgItem(int nID) const {
    const auto found = m_controls.find(nID);
    return found != m_controls.end() ? found->second : nullptr;
}

INT_PTR CDialog::DoModal() {
    const DialogTemplate* dlgTemplate = FindDialogTemplate(m_nIDTemplate);
    if (dlgTemplate == nullptr) {
        return -1;
    }
    CDialogWindow& window = *m_pWindow;
    window.BuildControls(*dlgTemplate);
    m_bEnded = false;
    m_nModalResult = -1;
    window.setModal(true);
    OnInitDialog();
    if (m_bEnded) {
        return m_nModalResult;
    }
    if (const ModalHook run = s_modalHooks[m_nIDTemplate]) {
        QTimer::singleShot(0, &window, [this, run] {
            run(*this);
            if (!m_bEnded) {
                EndDialog(-1);
            }
        });
    } else if (ScriptedUser::s_pInstalled != nullptr) {
        return -1;
    }
    window.exec();
    return m_nModalResult;
}

void CDialog::EndDialog(int nResult) {
    m_bEnded = true;
    m_nModalResult = nResult;
    m_pWindow->done(nResult);
}

BOOL CDialog::HasDlgItem(int nID) const {
    return m_pWindow->GetDlgItem(nID) != nullptr;
}

void CDialog::EnableControl(int nID, BOOL bEnable) {
    if (QWidget* control = m_pWindow->GetDlgItem(nID)) {
        control->setEnabled(bEnable != FALSE);
    }
}

void CDialog::SetReadOnly(int nID, BOOL bReadOnly) {
    if (auto* edit = dynamic_cast<QLineEdit*>(m_pWindow->GetDlgItem(nID))) {
        edit->setReadOnly(bReadOnly != FALSE);
    }
}

BOOL CDialog::IsControlEnabled(int nID) const {
    const QWidget* control = m_pWindow->GetDlgItem(nID);
    return control != nullptr && control->isEnabled();
}

std::string CDialog::GetDlgItemText(int nID) const {
    QWidget* control = m_pWindow->GetDlgItem(nID);
    if (auto* label = dynamic_cast<QLabel*>(control)) {
        const QVariant given = label->property(kStaticBytesProperty);
        return given.isValid() ? given.toByteArray().toStdString() : EncodePath(label->text());
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

void CDialog::SetDlgItemText(int nID, const std::string& text) {
    QWidget* control = m_pWindow->GetDlgItem(nID);
    if (auto* label = dynamic_cast<QLabel*>(control)) {
        label->setProperty(kStaticBytesProperty,
                           QByteArray(text.data(), static_cast<qsizetype>(text.size())));
        label->setText(DecodePath(text));
    } else if (auto* combo = dynamic_cast<CComboBox*>(control)) {
        combo->SetWindowText(DecodePath(text));
    } else if (auto* edit = dynamic_cast<QLineEdit*>(control)) {
        SetProgramText(edit, DecodePath(text));
    } else if (auto* button = dynamic_cast<QAbstractButton*>(control)) {
        button->setText(DecodePath(text));
    }
}

std::string CDialog::GetDlgItemName(int nID) const {
    const QWidget* control = m_pWindow->GetDlgItem(nID);
    return control != nullptr ? EncodePath(control->accessibleName()) : std::string();
}

void CDialog::SetDlgItemToolTip(int nID, const std::string& text) {
    if (QWidget* control = m_pWindow->GetDlgItem(nID)) {
        control->setToolTip(DecodePath(text));
    }
}

void CDialog::GotoDlgCtrl(int nID) {
    QWidget* control = m_pWindow->GetDlgItem(nID);
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
    for (const auto& [id, control] : m_pWindow->Controls()) {
        if (focus != nullptr && (focus == control || control->isAncestorOf(focus))) {
            return id;
        }
    }
    return 0;
}

std::string CDialog::GetWindowText() const {
    return EncodePath(m_pWindow->windowTitle());
}

void CDialog::SetWindowText(const std::string& text) {
    m_pWindow->setWindowTitle(DecodePath(text));
}

BOOL CDialog::IsWindowVisible() const {
    return m_pWindow->isVisible();
}

void CDialog::SetIcon(HICON hIcon, BOOL /*bBigIcon*/) {
    // One icon serves every size the desktop shows.
    m_pWindow->setWindowIcon(QtIcon(hIcon));
}

void CDialog::SetComboEntries(int nID, const std::vector<std::string>& entries) {
    auto* combo = m_pWindow->GetDlgItemAs<CComboBox>(nID);
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
    const auto* combo = m_pWindow->GetDlgItemAs<CComboBox>(nID);
    return combo != nullptr ? combo->count() : 0;
}

std::string CDialog::GetComboEntry(int nID, int nIndex) const {
    const auto* combo = m_pWindow->GetDlgItemAs<CComboBox>(nID);
    return combo != nullptr ? EncodePath(combo->itemText(nIndex)) : std::string();
}

void CDialog::SetCueBanner(int nID, const std::string& shown, const std::string& said) {
    if (auto* combo = m_pWindow->GetDlgItemAs<CComboBox>(nID)) {
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
    CDialogWindow& window = *m_pWindow;
    window.setContextMenuPolicy(Qt::ActionsContextMenu);
    window.addAction(QString())->setSeparator(true);
    std::map<const MenuEntry*, QAction*> actions;
    for (const bool system : {true, false}) {
        for (const Menu& menu : menus) {
            for (const MenuEntry& entry : menu.entries) {
                if (entry.systemCommand != system) {
                    continue;
                }
                QAction* action = window.addAction(DecodePath(entry.text), &window,
                                                   [this, id = entry.command, system] {
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
    auto* bar = new QMenuBar(&window);
    for (const Menu& menu : menus) {
        QMenu* shown = bar->addMenu(DecodePath(menu.title));
        for (const MenuEntry& entry : menu.entries) {
            shown->addAction(actions[&entry]);
        }
    }
    PlaceMenuBarAbove(window, *bar);
}

void CDialog::DragAcceptFiles(BOOL bAccept) {
    m_pWindow->setAcceptDrops(bAccept != FALSE);
}

void CDialogWindow::dragEnterEvent(QDragEnterEvent* event) {
    std::vector<std::string> paths;
    if (LocalPaths(*event->mimeData(), paths) && m_dialog.OnDropFiles(paths, FALSE)) {
        event->acceptProposedAction();
    }
}

void CDialogWindow::dropEvent(QDropEvent* event) {
    std::vector<std::string> paths;
    if (LocalPaths(*event->mimeData(), paths) && m_dialog.OnDropFiles(paths, TRUE)) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

int CDialog::MessageBox(const std::string& text, const std::string& caption, UINT nType,
                        const std::string& detail, const std::string& details) {
    return ShowMessageBox(m_pWindow.get(), DecodePath(text), DecodePath(caption), nType,
                          DecodePath(detail), DecodePath(details));
}
