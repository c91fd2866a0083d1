// The scripted user on the Qt twin: Qt Test's key and mouse events, sent
// to the widget that has the focus as the window system would.
#include "tests/ui/scripted_user.h"

#include "tests/ui/qt/press_key.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "ui/platform/qt/DialogWindow.h"

namespace {

QWidget* FocusOr(CDialog& dlg) {
    QWidget* focus = QApplication::focusWidget();
    return focus != nullptr ? focus : &dlg.Window();
}

Qt::Key QtKey(Key key) {
    switch (key) {
        case Key::kTab:
            return Qt::Key_Tab;
        case Key::kBackTab:
            return Qt::Key_Backtab;
        case Key::kReturn:
            return Qt::Key_Return;
        case Key::kEscape:
            return Qt::Key_Escape;
        case Key::kBackspace:
            return Qt::Key_Backspace;
        case Key::kPageDown:
            return Qt::Key_PageDown;
    }
    return Qt::Key_unknown;
}

}  // namespace

void Activate(CDialog& dlg) {
    QApplication::setActiveWindow(&dlg.Window());
}

void PressKeyIn(QWidget* window, Key key) {
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus != nullptr ? focus : window, QtKey(key),
                    key == Key::kBackTab ? Qt::ShiftModifier : Qt::NoModifier);
}

void Press(CDialog& dlg, Key key) {
    PressKeyIn(&dlg.Window(), key);
}

void PressAlt(CDialog& dlg, char letter) {
    QTest::keyClick(&dlg.Window(), static_cast<Qt::Key>(Qt::Key_A + (letter - 'A')),
                    Qt::AltModifier);
}

void PressShortcut(CDialog& dlg, const Accelerator& accelerator) {
    Qt::KeyboardModifiers modifiers;
    if ((accelerator.modifiers & FCONTROL) != 0) {
        modifiers |= Qt::ControlModifier;
    }
    if ((accelerator.modifiers & FSHIFT) != 0) {
        modifiers |= Qt::ShiftModifier;
    }
    if ((accelerator.modifiers & FALT) != 0) {
        modifiers |= Qt::AltModifier;
    }
    const UINT key = accelerator.key;
    const Qt::Key qtKey = key >= VK_F1 && key < VK_F1 + 12
                              ? static_cast<Qt::Key>(Qt::Key_F1 + (key - VK_F1))
                              : static_cast<Qt::Key>(key);  // 'A'-'Z', '0'-'9': the same codes
    QTest::keyClick(FocusOr(dlg), qtKey, modifiers);
}

void Type(CDialog& dlg, const std::string& text) {
    for (const QChar character : QString::fromUtf8(text)) {
        QWidget* focus = FocusOr(dlg);
        if (character.isLetterOrNumber() && character.unicode() < 0x80) {
            QTest::keyClick(focus, character.toLatin1());
        } else {
            // What a keyboard layout gives for a key without an ASCII name.
            QTest::sendKeyEvent(QTest::Click, focus, Qt::Key_unknown, QString(character),
                                Qt::NoModifier);
        }
    }
}

void ClickInto(CDialog& dlg, int id) {
    QWidget* control = dlg.Window().GetDlgItem(id);
    control->setFocus(Qt::MouseFocusReason);
    auto* combo = qobject_cast<QComboBox*>(control);
    QLineEdit* edit = combo != nullptr ? combo->lineEdit() : qobject_cast<QLineEdit*>(control);
    if (edit != nullptr) {
        edit->deselect();
        edit->end(false);
    }
}

void Click(CDialog& dlg, int id) {
    dlg.Window().GetDlgItemAs<QPushButton>(id)->click();
}

void ClickCloseBox(CDialog& dlg) {
    dlg.Window().close();
}

bool IsDefaultButton(CDialog& dlg, int id) {
    auto* button = dlg.Window().GetDlgItemAs<QPushButton>(id);
    auto* focused = qobject_cast<QPushButton*>(QApplication::focusWidget());
    if (focused != nullptr && focused->autoDefault()) {
        return focused == button;
    }
    return button != nullptr && button->isDefault();
}

int ComboSelection(CDialog& dlg, int id) {
    auto* combo = dlg.Window().GetDlgItemAs<QComboBox>(id);
    return combo != nullptr ? combo->currentIndex() : -1;
}

bool WaitCursorShown() {
    return QApplication::overrideCursor() != nullptr;
}
