// TypingLimit limits how many characters the user can type or paste into
// a line edit, and only that: text the program sets is shown whole,
// however long (SetProgramText). A change that does not make the text
// longer is always let through, so a long text set by the program can
// still be shortened; a paste that would go over the limit is refused
// whole.
#pragma once

#include <QPointer>
#include <QValidator>

class QLineEdit;

class TypingLimit : public QValidator {
public:
    // The limit of EDIT, attached as its validator (and owned by it) on
    // first use.
    static TypingLimit* Of(QLineEdit* edit);

    // Sets EDIT's text as the program's, exempt from the limit, and shows
    // it from its beginning. Works for an edit without a limit too.
    static void SetProgramText(QLineEdit* edit, const QString& text);

    void SetMaxChars(int maxChars);  // 0: no limit
    int MaxChars() const { return m_nMaxChars; }

    State validate(QString& input, int& pos) const override;

private:
    explicit TypingLimit(QLineEdit* edit);

    qsizetype m_nAcceptedLength = 0;  // length of the text a change starts from
    int m_nMaxChars = 0;
    bool m_bProgramText = false;
};
