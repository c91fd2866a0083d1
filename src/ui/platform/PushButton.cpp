#include "ui/platform/PushButton.h"

#include <QEvent>

CPushButton::CPushButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {}

bool CPushButton::event(QEvent* event) {
    // A shortcut event reaches the button only for its own mnemonic.
    if (event->type() == QEvent::Shortcut && isEnabled() && focusPolicy() != Qt::NoFocus) {
        setFocus(Qt::ShortcutFocusReason);
    }
    return QPushButton::event(event);
}
