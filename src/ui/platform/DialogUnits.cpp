#include "ui/platform/DialogUnits.h"

#include <QFontMetrics>

namespace {

// a * b / c, rounded to the nearest integer, for non-negative b and c > 0.
int MulDiv(int a, int b, int c) {
    const long long product = static_cast<long long>(a) * b;
    const long long half = c / 2;
    return static_cast<int>(product >= 0 ? (product + half) / c : (product - half) / c);
}

}  // namespace

CDialogUnits::CDialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int alphabetWidth = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    // Average over 52 letters, rounded.
    m_nBaseX = (alphabetWidth / 26 + 1) / 2;
    m_nBaseY = metrics.height();
    if (m_nBaseX < 1) {
        m_nBaseX = 1;
    }
    if (m_nBaseY < 1) {
        m_nBaseY = 1;
    }
}

int CDialogUnits::ToPixelsX(int units) const {
    return MulDiv(units, m_nBaseX, 4);
}

int CDialogUnits::ToPixelsY(int units) const {
    return MulDiv(units, m_nBaseY, 8);
}

QRect CDialogUnits::MapDialogRect(int x, int y, int cx, int cy) const {
    return QRect(ToPixelsX(x), ToPixelsY(y), ToPixelsX(cx), ToPixelsY(cy));
}
