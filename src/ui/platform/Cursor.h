// The application's cursor, set and put back the way the dialogs do it:
//
//     HCURSOR hOldCursor = SetCursor(LoadCursor(IDC_WAIT));
//     ...
//     SetCursor(hOldCursor);
//
// A cursor handle is either a shape to show or the cursor that a SetCursor
// replaced; setting the latter puts that cursor back (and every cursor set
// after it). Cursors are set for the whole application, over every window.
#pragma once

#include <Qt>

struct HCURSOR {
    bool isShape = false;
    Qt::CursorShape shape = Qt::ArrowCursor;
    int depth = 0;  // for a replaced cursor: how many cursors were set then
};

inline constexpr Qt::CursorShape IDC_WAIT = Qt::WaitCursor;
inline constexpr Qt::CursorShape IDC_ARROW = Qt::ArrowCursor;

HCURSOR LoadCursor(Qt::CursorShape shape);

// Shows CURSOR; returns the cursor it replaces.
HCURSOR SetCursor(const HCURSOR& cursor);
