#include "ui/platform/MessageBox.h"

#include <QMessageBox>
#include <QPushButton>

#include "ui/platform/UiTestScript.h"

namespace {

QMessageBox::Icon IconOf(UINT type) {
    switch (type & MB_ICONMASK) {
        case MB_ICONQUESTION:
            return QMessageBox::Question;
        case MB_ICONEXCLAMATION:
            return QMessageBox::Warning;
        default:
            return QMessageBox::NoIcon;
    }
}

// The button that Enter presses.
int DefaultAnswer(UINT type) {
    if ((type & MB_TYPEMASK) != MB_YESNO) {
        return IDOK;
    }
    return (type & MB_DEFMASK) == MB_DEFBUTTON2 ? IDNO : IDYES;
}

}  // namespace

int ShowMessageBox(QWidget* owner, const QString& text, const QString& caption, UINT type,
                   const QString& detail, const QString& details) {
    if (CUiTestScript::IsActive()) {
        MessageBoxRequest request;
        request.text = text;
        request.caption = caption;
        request.detail = detail;
        request.details = details;
        request.type = type;
        request.answer = DefaultAnswer(type);
        CUiTestScript::Ask(request);
        return request.answer;
    }

    QMessageBox box(IconOf(type), caption, text, QMessageBox::NoButton, owner);
    box.setTextFormat(Qt::PlainText);
    if (!detail.isEmpty()) {
        box.setInformativeText(detail);
    }
    if (!details.isEmpty()) {
        box.setDetailedText(details);
    }
    if ((type & MB_TYPEMASK) == MB_YESNO) {
        QPushButton* yes = box.addButton(QMessageBox::Yes);
        QPushButton* no = box.addButton(QMessageBox::No);
        box.setDefaultButton(DefaultAnswer(type) == IDYES ? yes : no);
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == yes ? IDYES : IDNO;
    }
    QPushButton* ok = box.addButton(QMessageBox::Ok);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
    return IDOK;
}

std::string FormatMessage(const std::string& format, const std::string& arg1) {
    std::string result;
    result.reserve(format.size() + arg1.size());
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size()) {
            if (format[i + 1] == '1') {
                result += arg1;
                ++i;
                continue;
            }
            if (format[i + 1] == '%') {
                result += '%';
                ++i;
                continue;
            }
        }
        result += format[i];
    }
    return result;
}
