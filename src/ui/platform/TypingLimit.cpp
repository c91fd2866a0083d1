#include "ui/platform/TypingLimit.h"

#include <QLineEdit>

namespace {

// EDIT's limit, or nullptr when it has none yet.
TypingLimit* AttachedTo(QLineEdit* edit) {
    return dynamic_cast<TypingLimit*>(const_cast<QValidator*>(edit->validator()));
}

}  // namespace

TypingLimit* TypingLimit::Of(QLineEdit* edit) {
    if (TypingLimit* existing = AttachedTo(edit)) {
        return existing;
    }
    auto* limit = new TypingLimit(edit);
    edit->setValidator(limit);
    return limit;
}

void TypingLimit::SetProgramText(QLineEdit* edit, const QString& text) {
    TypingLimit* limit = AttachedTo(edit);
    // QLineEdit checks set text too, and stops checking typed text while
    // the set text does not pass.
    if (limit != nullptr) {
        limit->m_bProgramText = true;
    }
    edit->setText(text);
    if (limit != nullptr) {
        limit->m_bProgramText = false;
    }
    // Set text is shown from its beginning.
    edit->setCursorPosition(0);
}

TypingLimit::TypingLimit(QLineEdit* edit)
    : QValidator(edit), m_nAcceptedLength(edit->text().size()) {
    // A change is checked before the edit reports it, so this is the
    // length the change starts from.
    QObject::connect(edit, &QLineEdit::textChanged, this,
                     [this](const QString& text) { m_nAcceptedLength = text.size(); });
}

void TypingLimit::SetMaxChars(int maxChars) {
    m_nMaxChars = maxChars;
}

QValidator::State TypingLimit::validate(QString& input, int& /*pos*/) const {
    if (m_bProgramText || m_nMaxChars <= 0 || input.size() <= m_nMaxChars ||
        input.size() <= m_nAcceptedLength) {
        return Acceptable;
    }
    return Invalid;
}
