#include "ui/platform/ComboBox.h"

#include <QLineEdit>

namespace {

// Case-insensitive order; texts equal but for case in code point order.
int CompareEntries(const QString& a, const QString& b) {
    const int folded = QString::compare(a, b, Qt::CaseInsensitive);
    return folded != 0 ? folded : QString::compare(a, b, Qt::CaseSensitive);
}

}  // namespace

CComboBox::CComboBox(QWidget* parent, bool sorted) : QComboBox(parent), m_bSorted(sorted) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);  // the list offers choices; typing completes nothing
    setDuplicatesEnabled(true);
}

int CComboBox::AddString(const QString& text) {
    int index = m_bSorted ? 0 : count();
    while (index < count() && CompareEntries(itemText(index), text) <= 0) {
        ++index;
    }
    return InsertString(index, text);
}

int CComboBox::InsertString(int index, const QString& text) {
    if (index > count()) {
        return CB_ERR;
    }
    index = index < 0 ? count() : index;
    const QString shown = currentText();
    insertItem(index, text);
    KeepText(shown);
    return index;
}

void CComboBox::KeepText(const QString& shown) {
    // Inserting into an empty list selects the new entry, and removing the
    // selected entry selects another.
    if (currentText() != shown) {
        setCurrentIndex(-1);
        setEditText(shown);
    }
}

int CComboBox::DeleteString(int index) {
    if (index < 0 || index >= count()) {
        return CB_ERR;
    }
    const QString shown = currentText();
    removeItem(index);
    KeepText(shown);
    return count();
}

int CComboBox::GetLBText(int index, QString& text) const {
    if (index < 0 || index >= count()) {
        return CB_ERR;
    }
    text = itemText(index);
    return static_cast<int>(text.size());
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
