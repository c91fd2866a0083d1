// The table window (ui/platform/TableWindow.h) on Windows: its controls,
// and a test's hook.
#pragma once

#include "ui/platform/win32/WinApi.h"

#include <functional>

#include "ui/platform/TableWindow.h"

inline constexpr int kTableSummaryId = 100;
inline constexpr int kTableListId = 101;  // a report-style list view
inline constexpr int kTableNotesId = 102;
// Close is IDCANCEL.

// In a test, HOOK acts on each table window once it is shown, from inside
// the window's modal loop; a window that HOOK leaves open is then closed.
using TableWindowShowHook = std::function<void(HWND)>;
void SetTableWindowShowHook(TableWindowShowHook hook);

// Shows CONTENT as ShowTableWindow does, whether or not a stand-in for the
// user is installed, over hParent and cut to WORK as if that were its
// monitor's work area (nullptr: its monitor's).
void ShowTableWindowIn(const TableWindowContent& content, HWND hParent, const RECT* work);
