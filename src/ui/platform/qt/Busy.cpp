#include "ui/platform/Busy.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>

CWaitCursor::CWaitCursor() {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

CWaitCursor::~CWaitCursor() {
    QGuiApplication::restoreOverrideCursor();
}

void PumpPaintMessages() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
