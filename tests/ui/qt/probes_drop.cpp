// Drops on the Qt twin: the drag's entering event, then its drop, with the
// files as local URLs.
#include "tests/ui/probes_drop.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include "ui/platform/qt/DialogWindow.h"
#include "ui/platform/qt/TextCodec.h"

bool AcceptsDroppedFiles(CDialog& dlg) {
    return dlg.Window().acceptDrops();
}

DropAnswer DropFiles(CDialog& dlg, const std::vector<std::string>& paths) {
    QMimeData data;
    QList<QUrl> urls;
    for (const std::string& path : paths) {
        urls << QUrl::fromLocalFile(DecodePath(path));
    }
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&dlg.Window(), &enter);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&dlg.Window(), &drop);
    if (enter.isAccepted() != drop.isAccepted()) {
        return DropAnswer::kDragAnsweredOtherwise;
    }
    return drop.isAccepted() ? DropAnswer::kTaken : DropAnswer::kRefused;
}
