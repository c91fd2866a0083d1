#include "ui/platform/qt/PathLabel.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QStyle>

namespace {

constexpr const char* kElidesProperty = "k2lElidesInTheMiddle";

// Paints the label it watches in place of the label's own painting.
class MiddleElision : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint) {
            return false;
        }
        auto* label = static_cast<QLabel*>(watched);
        QPainter painter(label);
        label->style()->drawItemText(
            &painter, label->contentsRect(),
            static_cast<int>(QStyle::visualAlignment(label->layoutDirection(), label->alignment())),
            label->palette(), label->isEnabled(), PaintedPathText(*label), label->foregroundRole());
        return true;
    }
};

}  // namespace

void ElideInTheMiddle(QLabel& label) {
    if (ElidesInTheMiddle(label)) {
        return;
    }
    label.setProperty(kElidesProperty, true);
    label.installEventFilter(new MiddleElision(&label));
    label.update();
}

bool ElidesInTheMiddle(const QLabel& label) {
    return label.property(kElidesProperty).toBool();
}

QString PaintedPathText(const QLabel& label) {
    return label.fontMetrics().elidedText(label.text(), Qt::ElideMiddle,
                                          label.contentsRect().width());
}
