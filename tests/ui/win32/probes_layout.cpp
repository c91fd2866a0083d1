// The layout probes on the Win32 twin: a window's client area lies below
// its menu bar, and the dialog manager maps dialog units (MapDialogRect).
#include "ui/platform/win32/WinApi.h"

#include "tests/ui/probes_layout.h"

#include "ui/platform/win32/DialogWindow.h"

namespace {

LONG_PTR StyleOf(CDialog& dlg) {
    return GetWindowLongPtrW(dlg.Window().Handle(), GWL_STYLE);
}

}  // namespace

PixelRect ControlRect(CDialog& dlg, int id) {
    const HWND hControl = dlg.Window().GetDlgItem(id);
    if (hControl == nullptr) {
        return {};
    }
    RECT rect;
    GetWindowRect(hControl, &rect);
    MapWindowPoints(nullptr, dlg.Window().Handle(), reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

PixelRect LayoutArea(CDialog& dlg) {
    RECT client;
    GetClientRect(dlg.Window().Handle(), &client);
    return {0, 0, client.right, client.bottom};
}

PixelRect MapDialogUnits(CDialog& dlg, int x, int y, int cx, int cy) {
    RECT rect{x, y, cx, cy};  // each coordinate scaled alone: the size as a size
    MapDialogRect(dlg.Window().Handle(), &rect);
    return {rect.left, rect.top, rect.right, rect.bottom};
}

bool HasMinimizeBox(CDialog& dlg) {
    return (StyleOf(dlg) & WS_MINIMIZEBOX) != 0;
}

bool HasMaximizeBox(CDialog& dlg) {
    return (StyleOf(dlg) & WS_MAXIMIZEBOX) != 0;
}

bool HasWindowIcon(CDialog& dlg) {
    return SendMessageW(dlg.Window().Handle(), WM_GETICON, ICON_BIG, 0) != 0;
}
