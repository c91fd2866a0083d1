// The table windows (ui/platform/TableWindow.h) a test sees, the same on
// either twin of the dialog layer (qt/probes_table_window.cpp,
// win32/probes_table_window.cpp).
#pragma once

#include <functional>
#include <string>

// While set, SHOWN gets the title of each table window once the window is
// shown, which then closes; nullptr: none is shown to a test any more.
void OnEveryTableWindow(std::function<void(const std::string& title)> shown);
