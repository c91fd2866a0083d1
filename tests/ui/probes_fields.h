// What a test reads of a dialog's controls beyond CDialog's own interface,
// the same on either twin (tests/ui/qt/probes_fields.cpp,
// tests/ui/win32/probes_fields.cpp). Texts are the program's 8-bit strings.
#pragma once

#include <string>
#include <vector>

#include "ui/platform/Dialog.h"

// What the empty field ID shows in place of a text (its cue banner, or
// placeholder); empty when nothing.
std::string CueBanner(CDialog& dlg, int id);
// What a screen reader says of control ID after its name.
std::string AccessibleDescription(CDialog& dlg, int id);
// TRUE when edit ID can be read and selected but not changed.
bool IsReadOnly(CDialog& dlg, int id);
// The texts of the dialog's labels that show text, in the template's order.
std::vector<std::string> LabelTexts(CDialog& dlg);
// TRUE when one of the dialog's labels shows a picture (an icon).
bool ShowsIcon(CDialog& dlg);
