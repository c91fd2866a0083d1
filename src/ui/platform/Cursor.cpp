#include "ui/platform/Cursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace {

int g_nCursorsSet = 0;  // override cursors this module has set and not restored

}  // namespace

HCURSOR LoadCursor(Qt::CursorShape shape) {
    HCURSOR cursor;
    cursor.isShape = true;
    cursor.shape = shape;
    return cursor;
}

HCURSOR SetCursor(const HCURSOR& cursor) {
    HCURSOR previous;
    previous.depth = g_nCursorsSet;
    if (cursor.isShape) {
        QGuiApplication::setOverrideCursor(QCursor(cursor.shape));
        ++g_nCursorsSet;
        return previous;
    }
    while (g_nCursorsSet > cursor.depth) {
        QGuiApplication::restoreOverrideCursor();
        --g_nCursorsSet;
    }
    return previous;
}
