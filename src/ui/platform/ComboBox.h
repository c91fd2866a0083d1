// CComboBox: an editable drop-down combo box with the list operations the
// dialogs use. Changes to the list leave the edit field's text as it is,
// and entering text never adds it to the list. A sorted list keeps
// case-insensitive order (entries equal but for case in code point order).
#pragma once

#include <QComboBox>
#include <QString>

#include "ui/platform/WinDefs.h"

class CComboBox : public QComboBox {
public:
    CComboBox(QWidget* parent, bool sorted);

    // Adds TEXT at its sorted place, or at the end of an unsorted list, after
    // any equal entries; returns its index.
    int AddString(const QString& text);
    // Inserts TEXT at INDEX (-1: at the end), even in a sorted list; returns
    // the index, or CB_ERR when INDEX is past the end.
    int InsertString(int index, const QString& text);
    // Removes the entry at INDEX; returns the number of entries left, or
    // CB_ERR when there is no such entry.
    int DeleteString(int index);
    int GetCount() const { return count(); }
    // Copies the entry at INDEX into TEXT; returns its length, or CB_ERR.
    int GetLBText(int index, QString& text) const;

    // Selects the first entry after START (-1: from the top) that begins
    // with PREFIX, ignoring case, and shows it whole in the edit field.
    // Returns its index, or CB_ERR (nothing changes) when none does.
    int SelectString(int start, const QString& prefix);

    // The edit field's text; setting it selects no entry.
    void SetWindowText(const QString& text);
    QString GetWindowText() const { return currentText(); }

private:
    // Shows SHOWN in the edit field again after a change to the list.
    void KeepText(const QString& shown);

    bool m_bSorted;
};
