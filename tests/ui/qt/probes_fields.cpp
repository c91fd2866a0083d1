// The controls' probes on the Qt twin: the widgets themselves.
#include "tests/ui/probes_fields.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "ui/platform/qt/DialogWindow.h"
#include "ui/platform/qt/TextCodec.h"

namespace {

// Control ID's edit field (a combo box's included), or nullptr.
QLineEdit* EditOf(CDialog& dlg, int id) {
    auto* combo = dlg.Window().GetDlgItemAs<QComboBox>(id);
    return combo != nullptr ? combo->lineEdit() : dlg.Window().GetDlgItemAs<QLineEdit>(id);
}

}  // namespace

std::string CueBanner(CDialog& dlg, int id) {
    QLineEdit* edit = EditOf(dlg, id);
    return edit != nullptr ? EncodePath(edit->placeholderText()) : std::string();
}

std::string AccessibleDescription(CDialog& dlg, int id) {
    QLineEdit* edit = EditOf(dlg, id);
    QWidget* control = edit != nullptr ? edit : dlg.Window().GetDlgItem(id);
    return control != nullptr ? EncodePath(control->accessibleDescription()) : std::string();
}

bool IsReadOnly(CDialog& dlg, int id) {
    QLineEdit* edit = EditOf(dlg, id);
    return edit != nullptr && edit->isReadOnly();
}

std::vector<std::string> LabelTexts(CDialog& dlg) {
    std::vector<std::string> texts;
    for (QLabel* label : dlg.Window().findChildren<QLabel*>()) {
        if (label->pixmap().isNull()) {
            texts.push_back(EncodePath(label->text()));
        }
    }
    return texts;
}

bool ShowsIcon(CDialog& dlg) {
    for (QLabel* label : dlg.Window().findChildren<QLabel*>()) {
        if (!label->pixmap().isNull()) {
            return true;
        }
    }
    return false;
}
