#include "ui/platform/qt/ComboBox.h"

#include <QLineEdit>

CComboBox::CComboBox(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);  // the list offers choices; typing completes nothing
    setDuplicatesEnabled(true);
}

int CComboBox::SelectString(int start, const QString& prefix) {
    for (int index = start < 0 ? 0 : start + 1; index < count(); ++index) {
        if (itemText(index).startsWith(prefix, Qt::CaseInsensitive)) {
            setCurrentIndex(index);
            setEditText(itemText(index));  // also over text typed since
            lineEdit()->setCursorPosition(0);
            return index;
        }
    }
    return CB_ERR;
}

void CComboBox::SetWindowText(const QString& text) {
    setCurrentIndex(-1);
    setEditText(text);
    lineEdit()->setCursorPosition(0);
}

void CComboBox::SetPlaceholder(const QString& shown, const QString& said) {
    lineEdit()->setPlaceholderText(shown);
    lineEdit()->setAccessibleName(accessibleName());
    const QString description = accessibleDescription();
    lineEdit()->setAccessibleDescription(said.isEmpty() || description.isEmpty()
                                             ? description + said
                                             : description + QStringLiteral(". ") + said);
    setToolTip(said);
}
