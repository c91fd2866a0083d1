#include "ui/platform/DataExchange.h"

#include <QByteArray>
#include <QLabel>
#include <QLineEdit>
#include <QValidator>

#include "ui/platform/Dialog.h"
#include "ui/platform/ExchangeMessages.h"
#include "ui/platform/qt/ComboBox.h"
#include "ui/platform/qt/DialogWindow.h"
#include "ui/platform/qt/MessageBox.h"
#include "ui/platform/qt/TextCodec.h"
#include "util/NameRule.h"

namespace {

// Control nIDC of the exchange's dialog, remembered as the one that a
// failure concerns; nullptr when the dialog has no such control.
QWidget* PrepareControl(CDataExchange* pDX, int nIDC) {
    pDX->PrepareEditCtrl(nIDC);
    return pDX->m_pDlgWnd->Window().GetDlgItem(nIDC);
}

QWidget* LastControlOf(const CDataExchange* pDX) {
    return pDX->m_pDlgWnd->Window().GetDlgItem(pDX->LastControl());
}

// Limits what the user types or pastes into an edit to MAXCHARS characters;
// text set by the program (SetProgramText) may be longer and can still be
// shortened. A paste that would go over the limit is refused whole.
class TypingLimit : public QValidator {
public:
    TypingLimit(QLineEdit* edit, int maxChars)
        : QValidator(edit), m_nMaxChars(maxChars), m_nAcceptedLength(edit->text().size()) {
        // A change is checked before the edit reports it, so this is the
        // length the change starts from.
        connect(edit, &QLineEdit::textChanged, this,
                [this](const QString& text) { m_nAcceptedLength = text.size(); });
    }

    State validate(QString& input, int& /*pos*/) const override {
        return input.size() <= std::max<qsizetype>(m_nMaxChars, m_nAcceptedLength) ? Acceptable
                                                                                   : Invalid;
    }

private:
    int m_nMaxChars;
    qsizetype m_nAcceptedLength;
};

// The label of CONTROL's field for messages ("this" when it has none).
QString FieldOf(const QWidget* control) {
    const QString field = control != nullptr ? control->accessibleName() : QString();
    return field.isEmpty() ? QStringLiteral("this") : field;
}

// Shows why the value of the exchange's last control is refused and fails
// the exchange.
[[noreturn]] void Refuse(CDataExchange* pDX, const QString& message) {
    ShowMessageBox(&pDX->m_pDlgWnd->Window(), message, pDX->m_pDlgWnd->Window().windowTitle(),
                   MB_OK | MB_ICONEXCLAMATION);
    pDX->Fail();
}

// Takes TEXT typed into CONTROL as record text, or fails the exchange.
void TakeRecordText(CDataExchange* pDX, QWidget* control, const QString& text, std::string& value) {
    QString offending;
    if (EncodeRecordText(text, value, offending)) {
        return;
    }
    const QString field = FieldOf(control);
    Refuse(pDX, QString::fromStdString(NotRecordTextMessage(
                    field.toStdString(), offending.toStdString(), offending.toUcs4().value(0))));
}

}  // namespace

// QLineEdit checks set text against its validator
// too, and stops checking typed text while the set text does not pass.)
void SetProgramText(QLineEdit* edit, const QString& text) {
    const QValidator* limit = edit->validator();
    edit->setValidator(nullptr);
    edit->setText(text);
    edit->setValidator(limit);
    edit->setCursorPosition(0);
}

void DDX_Text(CDataExchange* pDX, int nIDC, std::string& value) {
    QWidget* control = PrepareControl(pDX, nIDC);
    if (auto* label = dynamic_cast<QLabel*>(control)) {
        if (pDX->m_bSaveAndValidate) {
            const QVariant given = label->property(kStaticBytesProperty);
            value = given.isValid() ? given.toByteArray().toStdString() : EncodePath(label->text());
        } else {
            label->setProperty(kStaticBytesProperty,
                               QByteArray(value.data(), static_cast<qsizetype>(value.size())));
            label->setText(DecodePath(value));
            label->setToolTip(label->text());
        }
        return;
    }
    if (auto* edit = dynamic_cast<QLineEdit*>(control)) {
        if (pDX->m_bSaveAndValidate) {
            TakeRecordText(pDX, control, edit->text(), value);
        } else {
            SetProgramText(edit, DecodeRecordText(value));
        }
    }
}

void DDX_PathText(CDataExchange* pDX, int nIDC, std::string& value) {
    auto* edit = dynamic_cast<QLineEdit*>(PrepareControl(pDX, nIDC));
    if (edit == nullptr) {
        return;
    }
    if (pDX->m_bSaveAndValidate) {
        value = EncodePath(edit->text());
    } else {
        edit->setText(DecodePath(value));
        edit->setCursorPosition(0);
    }
}

void DDX_CBString(CDataExchange* pDX, int nIDC, std::string& value) {
    // A combo box's edit field is selected on failure like an edit's.
    auto* combo = dynamic_cast<CComboBox*>(PrepareControl(pDX, nIDC));
    if (combo == nullptr) {
        return;
    }
    if (pDX->m_bSaveAndValidate) {
        TakeRecordText(pDX, combo, combo->GetWindowText(), value);
        return;
    }
    const QString text = DecodeRecordText(value);
    // An empty value stays empty: it would begin every entry.
    if (text.isEmpty() || combo->SelectString(-1, text) == CB_ERR) {
        combo->SetWindowText(text);
    }
}

void DDV_MaxChars(CDataExchange* pDX, const std::string& value, int nChars) {
    QWidget* control = LastControlOf(pDX);
    if (!pDX->m_bSaveAndValidate) {
        auto* edit = dynamic_cast<QLineEdit*>(control);
        if (edit != nullptr && edit->validator() == nullptr) {
            edit->setValidator(new TypingLimit(edit, nChars));
        }
        return;
    }
    if (value.size() > static_cast<std::size_t>(nChars)) {
        Refuse(pDX,
               QString::fromStdString(TooManyCharsMessage(nChars, FieldOf(control).toStdString())));
    }
}

void DDV_PlainName(CDataExchange* pDX, const std::string& value) {
    if (!pDX->m_bSaveAndValidate) {
        return;
    }
    if (const NameFault fault = FindNameFault(value, kPlainName); fault != NameFault::kNone) {
        Refuse(pDX, QString::fromStdString(
                        NotPlainNameMessage(FieldOf(LastControlOf(pDX)).toStdString(), fault)));
    }
}
