// The conversion preview: the records Convert would write with the
// dialog's current values (the columns of `korr2ld-cli show`), the counts,
// and the warnings and skipped lines, in a resizable window that Escape or
// Close closes. It only shows: the conversion behind it is a dry run.
//
// For the keyboard and a screen reader: Tab moves from the records table
// to the warnings and on to Close (the arrow keys move within the table),
// and the table ("Records") and the warnings ("Warnings and skipped lines")
// are named. Its size is kWidthUnits x kHeightUnits dialog units of its
// font (so it scales with the font and the screen's scale), cut to the
// screen's available area, down to a least size at which every part is
// still there; Close is always on the screen.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "samplelist/RecordFields.h"
#include "ui/platform/TableWindow.h"

class CDialog;

struct PreviewContent {
    std::string title;                  // the window title
    std::string summary;                // counts, or why the conversion would fail
    std::vector<std::int32_t> numbers;  // running number of each row
    std::vector<RecordRow> rows;        // the first kMaxRows records
    std::int64_t rowsNotShown = 0;      // records after those
    std::vector<std::string> findings;  // warning and skipped-line lines
};

class PreviewWindow {
public:
    // Records kept for the table, whatever the export's size.
    static constexpr std::size_t kMaxRows = 10000;

    // The size it asks for, in dialog units, and the least size of the
    // table and of the warnings.
    static constexpr int kWidthUnits = 440;
    static constexpr int kHeightUnits = 260;
    static constexpr int kLeastPaneWidthUnits = 60;
    static constexpr int kLeastPaneHeightUnits = 24;

    // What the window shows of CONTENT.
    static TableWindowContent Table(const PreviewContent& content);

    // Shows CONTENT modally over PARENT (ui/platform/TableWindow.h).
    static void ShowModal(const PreviewContent& content, CDialog* parent);
};
