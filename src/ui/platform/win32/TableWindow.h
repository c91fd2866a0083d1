// The table window (ui/platform/TableWindow.h) on Windows.
#pragma once

#include "ui/platform/win32/WinApi.h"

#include <functional>

#include "ui/platform/TableWindow.h"

// Shows CONTENT modally over hParent as ShowTableWindow does, cut to WORK
// (a monitor's work area; nullptr: that of the window's monitor). HOOK,
// when set, acts on the window once it is shown, which then closes: for a
// test, whether or not a stand-in for the user is installed.
void ShowTableWindowIn(const TableWindowContent& content, HWND hParent, const RECT* work,
                       const std::function<void(HWND)>& hook);
