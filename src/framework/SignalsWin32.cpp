#include <windows.h>

#include "framework/InterruptFiles.h"
#include "framework/Signals.h"
#include "framework/Win32Text.h"

namespace {

void Delete(const char* path) {
    ::DeleteFileW(WidePath(path).c_str());
}

// Runs on a thread of its own that the system starts: the files go, then
// the default handler ends the process as the event would have.
BOOL WINAPI OnConsoleEvent(DWORD event) {
    switch (event) {
        case CTRL_C_EVENT:
        case CTRL_BREAK_EVENT:
        case CTRL_CLOSE_EVENT:
        case CTRL_LOGOFF_EVENT:
        case CTRL_SHUTDOWN_EVENT:
            RemoveHeldFiles(Delete);
            break;
        default:
            break;
    }
    return FALSE;
}

}  // namespace

void RemoveFilesOnInterrupt() {
    ::SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}
