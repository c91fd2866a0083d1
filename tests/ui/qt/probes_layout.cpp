// The layout probes on the Qt twin: the menu bar is a widget of the
// dialog's own above the controls (MenuBar.h), and dialog units are those
// of the window's font (CDialogUnits).
#include "tests/ui/probes_layout.h"

#include <QMenuBar>

#include "ui/platform/qt/DialogBuilder.h"
#include "ui/platform/qt/DialogWindow.h"

namespace {

PixelRect FromQt(const QRect& rect) {
    return {rect.x(), rect.y(), rect.width(), rect.height()};
}

int MenuBarHeight(CDialog& dlg) {
    const auto* bar = dlg.Window().findChild<QMenuBar*>();
    return bar != nullptr && !bar->isHidden() ? bar->height() : 0;
}

}  // namespace

PixelRect ControlRect(CDialog& dlg, int id) {
    const QWidget* control = dlg.Window().GetDlgItem(id);
    return control != nullptr ? FromQt(control->geometry().translated(0, -MenuBarHeight(dlg)))
                              : PixelRect{};
}

PixelRect LayoutArea(CDialog& dlg) {
    return {0, 0, dlg.Window().width(), dlg.Window().height() - MenuBarHeight(dlg)};
}

PixelRect MapDialogUnits(CDialog& dlg, int x, int y, int cx, int cy) {
    return FromQt(CDialogUnits(dlg.Window().font()).MapDialogRect(x, y, cx, cy));
}

bool HasMinimizeBox(CDialog& dlg) {
    return dlg.Window().windowFlags().testFlag(Qt::WindowMinimizeButtonHint);
}

bool HasMaximizeBox(CDialog& dlg) {
    return dlg.Window().windowFlags().testFlag(Qt::WindowMaximizeButtonHint);
}

bool HasWindowIcon(CDialog& dlg) {
    return !dlg.Window().windowIcon().isNull();
}
