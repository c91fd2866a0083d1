// What a test looks at of a text field, the same on either twin of the
// dialog layer (qt/probes_edit.cpp, win32/probes_edit.cpp).
#pragma once

#include <string>

#include "ui/platform/Dialog.h"

// The text selected in edit ID (or in combo box ID's edit field), UTF-8.
std::string SelectedText(CDialog& dlg, int id);
// Where the caret is in edit ID, in characters from the text's beginning,
// while nothing is selected there.
int CaretPosition(CDialog& dlg, int id);
