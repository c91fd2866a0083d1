// The conversion preview: the records Convert would write with the
// dialog's current values (the columns of `korr2ld-cli show`), the counts,
// and the warnings and skipped lines, in a resizable window that Escape or
// Close closes. It only shows: the conversion behind it is a dry run.
#pragma once

#include <QDialog>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "samplelist/RecordFields.h"

class QLabel;
class QPlainTextEdit;
class QTableWidget;

struct PreviewContent {
    std::string title;                  // the window title
    std::string summary;                // counts, or why the conversion would fail
    std::vector<std::int32_t> numbers;  // running number of each row
    std::vector<RecordRow> rows;        // the first kMaxRows records
    std::int64_t rowsNotShown = 0;      // records after those
    std::vector<std::string> findings;  // warning and skipped-line lines
};

class PreviewWindow : public QDialog {
public:
    // Records kept for the table, whatever the export's size.
    static constexpr std::size_t kMaxRows = 10000;

    PreviewWindow(const PreviewContent& content, QWidget* parent);

    // Shows CONTENT modally over PARENT. In a test, the hook set with
    // SetShowHook acts on the window once it is shown; without one the
    // window is not shown at all while a test script runs.
    static void ShowModal(const PreviewContent& content, QWidget* parent);
    using ShowHook = std::function<void(PreviewWindow&)>;
    static void SetShowHook(ShowHook hook);

    QLabel* Summary() const { return m_summary; }
    QTableWidget* Table() const { return m_table; }
    QPlainTextEdit* Findings() const { return m_findings; }

private:
    QLabel* m_summary;
    QTableWidget* m_table;
    QPlainTextEdit* m_findings;
};
