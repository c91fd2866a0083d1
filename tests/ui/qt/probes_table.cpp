// The table window on the Qt twin: CTableWindow's widgets.
#include "tests/ui/probes_table.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

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
    // The window is no CDialog, so the scripted user's Press cannot be
    // given it; the same keys.
    Qt::Key qtKey = Qt::Key_unknown;
    switch (key) {
        case Key::kTab:
            qtKey = Qt::Key_Tab;
            break;
        case Key::kBackTab:
            qtKey = Qt::Key_Backtab;
            break;
        case Key::kReturn:
            qtKey = Qt::Key_Return;
            break;
        case Key::kEscape:
            qtKey = Qt::Key_Escape;
            break;
        case Key::kBackspace:
            qtKey = Qt::Key_Backspace;
            break;
        case Key::kPageDown:
            qtKey = Qt::Key_PageDown;
            break;
    }
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus != nullptr ? focus : &shown.window, qtKey,
                    key == Key::kBackTab ? Qt::ShiftModifier : Qt::NoModifier);
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
