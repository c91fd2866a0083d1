// CDialogUnits converts dialog units to pixels for one dialog font.
//
// The base units are the font's average character width (of the letters
// A-Z and a-z) and its height. A horizontal dialog unit is a quarter of the
// average width and a vertical one an eighth of the height, so a layout in
// dialog units keeps its proportions with any font, screen and scale.
#pragma once

#include <QFont>
#include <QRect>

class CDialogUnits {
public:
    explicit CDialogUnits(const QFont& font);

    int BaseUnitX() const { return m_nBaseX; }
    int BaseUnitY() const { return m_nBaseY; }

    int ToPixelsX(int units) const;
    int ToPixelsY(int units) const;

    // The rectangle (x, y, width, height) in dialog units, in pixels.
    QRect MapDialogRect(int x, int y, int cx, int cy) const;

private:
    int m_nBaseX;
    int m_nBaseY;
};
