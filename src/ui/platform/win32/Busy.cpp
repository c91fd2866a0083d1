#include "ui/platform/win32/WinApi.h"

#include "ui/platform/Busy.h"

namespace {

HCURSOR g_previous = nullptr;  // the cursor the outermost wait replaced
int g_waits = 0;

}  // namespace

CWaitCursor::CWaitCursor() {
    const HCURSOR replaced = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    if (g_waits++ == 0) {
        g_previous = replaced;
    }
}

CWaitCursor::~CWaitCursor() {
    if (--g_waits == 0) {
        SetCursor(g_previous);
    }
}

void PumpPaintMessages() {
    // Messages sent by the system (a move, a DPI change) and what is due to
    // paint; keys and mouse clicks stay queued.
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT | PM_QS_SENDMESSAGE)) {
        DispatchMessageW(&msg);
    }
    if (g_waits > 0) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    }
}
