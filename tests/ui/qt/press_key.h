// A key pressed in a window of the Qt twin that is no CDialog (the table
// window), for the Qt probes; the scripted user's Press goes the same way.
#pragma once

#include "tests/ui/scripted_user.h"

class QWidget;

// Presses KEY where the focus is, or in WINDOW when nothing has it.
void PressKeyIn(QWidget* window, Key key);
