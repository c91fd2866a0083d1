#include "ui/platform/GroupBox.h"

#include <qdrawutil.h>
#include <QFontMetrics>
#include <QPainter>
#include <QStyle>

CGroupBox::CGroupBox(const QString& title, QWidget* parent) : QGroupBox(title, parent) {}

QRect CGroupBox::TitleRect() const {
    const QFontMetrics metrics(font());
    // The title starts a character's width in, with half a character of
    // clear frame on either side of its text.
    const int gap = std::max(1, metrics.averageCharWidth() / 2);
    const int width = metrics.horizontalAdvance(title()) + 2 * gap;
    return QRect(metrics.averageCharWidth() - gap, 0, width, metrics.height());
}

int CGroupBox::FrameLineY() const {
    return QFontMetrics(font()).height() / 2;
}

void CGroupBox::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    // An etched frame. The style's own group box frame is not used: styles
    // place it below the title, wherever the rectangle says.
    qDrawShadeRect(&painter, rect().adjusted(0, FrameLineY(), 0, 0), palette(), true, 1, 0);
    if (title().isEmpty()) {
        return;
    }
    const QRect titleRect = TitleRect();
    painter.fillRect(titleRect, palette().brush(QPalette::Window));
    style()->drawItemText(&painter, titleRect, Qt::AlignCenter | Qt::TextShowMnemonic, palette(),
                          isEnabled(), title(), QPalette::WindowText);
}
