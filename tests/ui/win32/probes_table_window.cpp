// The table window probe on the Win32 twin: the window's own test hook.
#include "ui/platform/win32/WinApi.h"

#include "tests/ui/probes_table_window.h"

#include "ui/platform/win32/DialogWindow.h"
#include "ui/platform/win32/TableWindow.h"
#include "ui/platform/win32/WideText.h"

void OnEveryTableWindow(std::function<void(const std::string& title)> shown) {
    if (!shown) {
        SetTableWindowShowHook(nullptr);
        return;
    }
    SetTableWindowShowHook(
        [shown = std::move(shown)](HWND hWindow) { shown(Narrow(WindowTextOf(hWindow))); });
}
