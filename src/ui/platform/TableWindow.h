// A window that shows a table of text: a summary above it, notes below it,
// Close under both. It only shows; Escape or Close closes it.
//
// For the keyboard and a screen reader: Tab moves from the table to the
// notes and on to Close (the arrow keys move within the table), and the
// table and the notes are named. Its size is widthUnits x heightUnits
// dialog units of its font (so it scales with the font and the screen's
// scale), cut to the screen's available area, down to a least size at
// which every part is still there; Close is always on the screen.
#pragma once

#include <string>
#include <vector>

class CDialog;

struct TableWindowContent {
    std::string title;  // in the locale's encoding, as paths are
    // The rest is text as Sample List records hold it: valid UTF-8 is shown
    // as such, other bytes each as the Latin-1 character of the same value.
    std::string summary;
    std::vector<std::string> columns;
    std::vector<std::vector<std::string>> rows;  // one text per column
    std::string tableName;
    std::string tableDescription;
    std::vector<std::string> notes;  // one line each
    std::string noNotes;             // shown when there are none
    std::string notesName;
    int widthUnits = 0;  // the size it asks for
    int heightUnits = 0;
    int leastPaneWidthUnits = 0;  // the least size of the table and of the notes
    int leastPaneHeightUnits = 0;
};

// Shows CONTENT modally over PARENT (nullptr: none). While a test's
// stand-in for the user is installed (CommonDialogs.h), the window is
// shown only to the twin's test hook, if one is set.
void ShowTableWindow(const TableWindowContent& content, CDialog* parent);
