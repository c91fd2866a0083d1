// A key pressed in a window of the system's dialog manager that is no
// CDialog (the table window, a message box), for the Win32 twin's probes;
// defined beside the scripted user's Press (win32/scripted_user.cpp).
#pragma once

#include "ui/platform/win32/WinApi.h"

#include "tests/ui/scripted_user.h"

// Presses KEY where the focus is in dialog hDialog, as the dialog's own
// modal loop would take it (IsDialogMessage); returns once it is handled.
void PressInDialog(HWND hDialog, Key key);
