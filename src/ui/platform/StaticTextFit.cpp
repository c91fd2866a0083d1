#include "ui/platform/StaticTextFit.h"

#include <QGroupBox>
#include <algorithm>

#include "ui/platform/DialogUnits.h"

namespace {

// The dialog units kept free between a widened text and what limits it.
constexpr int kMarginUnits = 2;

bool SharesLine(const QRect& a, const QRect& b) {
    return a.top() <= b.bottom() && b.top() <= a.bottom();
}

// The x that TEXT may reach at most: the free space to its right.
int RightLimit(const QLabel& label, const std::vector<QWidget*>& widgets, int margin,
               const QWidget& dialog) {
    const QRect text = label.geometry();
    int limit = dialog.width() - margin;
    for (const QWidget* widget : widgets) {
        if (widget == &label) {
            continue;
        }
        const QRect other = widget->geometry();
        if (qobject_cast<const QGroupBox*>(widget) != nullptr) {
            if (other.contains(text)) {
                limit = std::min(limit, other.right() + 1 - margin);
            }
            continue;
        }
        if (other.left() > text.left() && SharesLine(text, other)) {
            limit = std::min(limit, other.left() - margin);
        }
    }
    return limit;
}

}  // namespace

void FitStaticTexts(const std::vector<QLabel*>& labels, const std::vector<QWidget*>& widgets,
                    const CDialogUnits& units, const QWidget& dialog) {
    const int margin = units.ToPixelsX(kMarginUnits);
    for (QLabel* label : labels) {
        const QSize needed = label->sizeHint();
        QRect rect = label->geometry();
        if (needed.width() > rect.width()) {
            const int limit = RightLimit(*label, widgets, margin, dialog);
            rect.setWidth(std::max(rect.width(), std::min(needed.width(), limit - rect.left())));
        }
        if (needed.height() > rect.height()) {
            rect.setHeight(needed.height());
        }
        label->setGeometry(rect);
    }
}
