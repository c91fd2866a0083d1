#include "ui/platform/qt/MenuBar.h"

#include <QDialog>
#include <QMenuBar>

void PlaceMenuBarAbove(QDialog& dialog, QMenuBar& bar) {
    bar.setNativeMenuBar(false);
    const int height = bar.sizeHint().height();
    for (QWidget* control : dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (control != &bar && !control->isWindow()) {
            control->move(control->x(), control->y() + height);
        }
    }
    // The dialog keeps a fixed size, now with the bar.
    dialog.setFixedSize(dialog.width(), dialog.height() + height);
    bar.setGeometry(0, 0, dialog.width(), height);
}
