// The table window probe on the Qt twin: the window's own test hook.
#include "tests/ui/probes_table_window.h"

#include "ui/platform/qt/TableWindow.h"

void OnEveryTableWindow(std::function<void(const std::string& title)> shown) {
    if (!shown) {
        CTableWindow::SetShowHook(nullptr);
        return;
    }
    CTableWindow::SetShowHook([shown = std::move(shown)](CTableWindow& window) {
        shown(window.windowTitle().toStdString());
    });
}
