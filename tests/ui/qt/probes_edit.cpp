// The text field probes on the Qt twin: an edit is a QLineEdit, a combo
// box's edit field its line edit.
#include "tests/ui/probes_edit.h"

#include <QComboBox>
#include <QLineEdit>

#include "ui/platform/qt/DialogWindow.h"

namespace {

const QLineEdit* EditOf(CDialog& dlg, int id) {
    const QWidget* control = dlg.Window().GetDlgItem(id);
    if (const auto* combo = qobject_cast<const QComboBox*>(control)) {
        return combo->lineEdit();
    }
    return qobject_cast<const QLineEdit*>(control);
}

}  // namespace

std::string SelectedText(CDialog& dlg, int id) {
    const QLineEdit* edit = EditOf(dlg, id);
    return edit != nullptr ? edit->selectedText().toStdString() : std::string();
}

int CaretPosition(CDialog& dlg, int id) {
    const QLineEdit* edit = EditOf(dlg, id);
    return edit != nullptr ? edit->cursorPosition() : -1;
}
