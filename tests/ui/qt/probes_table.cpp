// The table window on the Qt twin: CTableWindow's widgets.
#include "tests/ui/probes_table.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>

#include "tests/ui/qt/press_key.h"
#include "ui/platform/qt/TableWindow.h"

class ShownTable {
public:
    explicit ShownTable(CTableWindow& window) : window(window) {}
    CTableWindow& window;
};

void OnTableWindowShown(std::function<void(ShownTable&)> hook) {
    if (!hook) {
        CTableWindow::SetShowHook(nullptr);
        return;
    }
    CTableWindow::SetShowHook([hook = std::move(hook)](CTableWindow& window) {
        ShownTable shown(window);
        hook(shown);
    });
}

TableView ViewOf(ShownTable& shown) {
    const CTableWindow& window = shown.window;
    TableView view;
    view.summary = window.Summary()->text().toStdString();
    const QTableWidget* table = window.Table();
    for (int row = 0; row < table->rowCount(); ++row) {
        std::vector<std::string>& cells = view.cells.emplace_back();
        for (int column = 0; column < table->columnCount(); ++column) {
            const QTableWidgetItem* item = table->item(row, column);
            cells.push_back(item != nullptr ? item->text().toStdString() : std::string());
        }
    }
    view.notes = window.Findings()->toPlainText().toStdString();
    view.tableName = table->accessibleName().toStdString();
    view.notesName = window.Findings()->accessibleName().toStdString();
    view.resizable = window.isSizeGripEnabled();
    return view;
}

void FocusTable(ShownTable& shown) {
    QApplication::setActiveWindow(&shown.window);
    shown.window.Table()->setFocus();
}

void PressIn(ShownTable& shown, Key key) {
    PressKeyIn(&shown.window, key);
}

TablePart FocusedPart(ShownTable& shown) {
    const QWidget* focus = QApplication::focusWidget();
    if (focus == shown.window.Table()) {
        return TablePart::kTable;
    }
    if (focus == shown.window.Findings()) {
        return TablePart::kNotes;
    }
    return focus == shown.window.Buttons()->button(QDialogButtonBox::Close) ? TablePart::kClose
                                                                            : TablePart::kOther;
}

bool IsShown(ShownTable& shown) {
    return shown.window.isVisible();
}
