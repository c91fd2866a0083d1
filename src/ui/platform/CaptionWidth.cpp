#include "ui/platform/CaptionWidth.h"

#include <QFontMetrics>

namespace {

// The window's icon and its minimise, maximise and close buttons.
constexpr int kTitleBarButtons = 4;

}  // namespace

int CaptionNeedsWidth(const QString& caption, const QFont& dialogFont) {
    QFont titleFont(dialogFont);
    titleFont.setBold(true);
    const QFontMetrics metrics(titleFont);
    const int button = metrics.height() * 3 / 2;
    return metrics.horizontalAdvance(caption) + 2 * metrics.averageCharWidth() +
           kTitleBarButtons * button;
}
