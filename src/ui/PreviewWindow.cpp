#include "ui/PreviewWindow.h"

TableWindowContent PreviewWindow::Table(const PreviewContent& content) {
    TableWindowContent table;
    table.title = content.title;
    table.summary = content.summary;
    if (content.rowsNotShown != 0) {
        table.summary += "\nThe table shows the first " + std::to_string(content.rows.size()) +
                         " records; " + std::to_string(content.rowsNotShown) + " more follow.";
    }
    table.columns.push_back("#");
    for (const RecordField& field : kRecordFields) {
        table.columns.push_back(field.title);
    }
    table.rows.reserve(content.rows.size());
    for (std::size_t r = 0; r < content.rows.size(); ++r) {
        std::vector<std::string>& row = table.rows.emplace_back();
        row.push_back(std::to_string(content.numbers[r]));
        row.insert(row.end(), content.rows[r].begin(), content.rows[r].end());
    }
    table.tableName = "Records";
    table.tableDescription = "The records the conversion would write, one row each";
    table.notes = content.findings;
    table.noNotes = "No warnings.";
    table.notesName = "Warnings and skipped lines";
    table.widthUnits = kWidthUnits;
    table.heightUnits = kHeightUnits;
    table.leastPaneWidthUnits = kLeastPaneWidthUnits;
    table.leastPaneHeightUnits = kLeastPaneHeightUnits;
    return table;
}

void PreviewWindow::ShowModal(const PreviewContent& content, CDialog* parent) {
    ShowTableWindow(Table(content), parent);
}
