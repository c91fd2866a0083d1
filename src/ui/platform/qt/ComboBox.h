// CComboBox: an editable drop-down combo box with the field operations the
// dialogs use; its list is Qt's own. Entering text never adds it to the
// list.
#pragma once

#include <QComboBox>
#include <QString>

#include "ui/platform/WinDefs.h"

class CComboBox : public QComboBox {
public:
    explicit CComboBox(QWidget* parent);

    // Selects the first entry after START (-1: from the top) that begins
    // with PREFIX, ignoring case, and shows it whole in the edit field.
    // Returns its index, or CB_ERR (nothing changes) when none does.
    int SelectString(int start, const QString& prefix);

    // The edit field's text; setting it selects no entry.
    void SetWindowText(const QString& text);
    QString GetWindowText() const { return currentText(); }

    // What the empty field shows (SHOWN, short enough to be read whole at
    // the field's width) and what a screen reader and the tooltip say of it
    // (SAID, a whole sentence); both empty: nothing. The edit field, which
    // takes the focus, carries the combo box's accessible name, and its
    // description followed by SAID.
    void SetPlaceholder(const QString& shown, const QString& said);
};
