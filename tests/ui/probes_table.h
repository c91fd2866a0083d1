// The table window (ui/platform/TableWindow.h) as a test meets it, the same
// on either twin (tests/ui/qt/probes_table.cpp, tests/ui/win32/
// probes_table.cpp).
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "tests/ui/scripted_user.h"

class ShownTable;  // the twin's window, while it is shown

// While set, HOOK acts on each table window once it is shown (also while
// a scripted user is installed), from the window's own event loop; a
// window HOOK leaves open is then closed. nullptr: windows are not shown.
void OnTableWindowShown(std::function<void(ShownTable&)> hook);

// What the window shows; texts in UTF-8.
struct TableView {
    std::string summary;
    std::vector<std::vector<std::string>> cells;  // by row, then column
    std::string notes;                            // its lines, between them a '\n'
    std::string tableName;                        // what a screen reader calls the table
    std::string notesName;                        // ... and the notes
    bool resizable = false;                       // the user can change its size
};
TableView ViewOf(ShownTable& window);

// The parts that take the focus.
enum class TablePart { kTable, kNotes, kClose, kOther };
inline std::ostream& operator<<(std::ostream& out, TablePart part) {
    return out << (part == TablePart::kTable   ? "the table"
                   : part == TablePart::kNotes ? "the notes"
                   : part == TablePart::kClose ? "Close"
                                               : "another part");
}
// Makes the window active and puts the focus into the table.
void FocusTable(ShownTable& window);
// Presses KEY where the focus is.
void PressIn(ShownTable& window, Key key);
TablePart FocusedPart(ShownTable& window);
// TRUE while the window is shown.
bool IsShown(ShownTable& window);
