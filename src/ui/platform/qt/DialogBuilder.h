// The builder that makes a dialog's widgets from a template
// (ui/platform/DialogTemplate.h), on Qt.
//
// For the desktop's font the builder keeps what the template expects: a
// static text too narrow for its words is widened into the free space to
// its right (up to the next control on its line, the right edge of the
// group box around it or of the dialog, two dialog units clear), nothing
// else moves; a push button's mnemonic gives it the focus before it clicks,
// so that after a file choice Enter presses the button that opened it, not
// Close; and a dialog too narrow for its caption is widened, its controls
// centred as the template placed them.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QGroupBox>
#include <QIcon>
#include <QRect>
#include <map>
#include <span>
#include <string>

#include "ui/platform/DialogTemplate.h"

class QDialog;

// The Qt icon of ICON; a null icon for nullptr.
QIcon QtIcon(HICON icon);

// Dialog units for one dialog font. The base units are the font's average
// character width (of the letters A-Z and a-z) and its height; a horizontal
// dialog unit is a quarter of the first and a vertical one an eighth of the
// second, so a layout keeps its proportions with any font, screen and scale.
class CDialogUnits {
public:
    explicit CDialogUnits(const QFont& font);

    int BaseUnitX() const { return m_nBaseX; }
    int BaseUnitY() const { return m_nBaseY; }
    // UNITS in pixels, rounded to the nearest.
    int ToPixelsX(int units) const { return qRound(units * m_nBaseX / 4.0); }
    int ToPixelsY(int units) const { return qRound(units * m_nBaseY / 8.0); }
    // The rectangle (x, y, width, height) in dialog units, in pixels.
    QRect MapDialogRect(int x, int y, int cx, int cy) const {
        return QRect(ToPixelsX(x), ToPixelsY(y), ToPixelsX(cx), ToPixelsY(cy));
    }

private:
    int m_nBaseX;
    int m_nBaseY;
};

// A group box whose frame's top line runs through the middle of its title,
// so that the controls inside start below the title where the template
// puts them. (Qt's own draws the title above the frame, and a control just
// below the title would straddle the line.)
class CGroupBox : public QGroupBox {
public:
    using QGroupBox::QGroupBox;

    // In the box's own coordinates: the title's rectangle, one line of the
    // box's font high, and the y of the frame's top line.
    QRect TitleRect() const;
    int FrameLineY() const { return QFontMetrics(font()).height() / 2; }

protected:
    void paintEvent(QPaintEvent* event) override;
};

// How wide a dialog must be for the window manager to show CAPTION whole.
// The title bar is not ours, so this estimates: the caption in the bold of
// the dialog's font, two characters of padding, and the window's icon and
// three buttons, each a square a line and a half of that font high.
int CaptionNeedsWidth(const QString& caption, const QFont& dialogFont);

class CDialogBuilder {
public:
    // Builds TEMPLATE's controls into DIALOG, which must not have any yet.
    // Returns the controls that have an identifier, by identifier.
    static std::map<int, QWidget*> Build(const DialogTemplate& dlgTemplate, QDialog& dialog);

    // TEXT without its mnemonic markers: "&&" gives "&", "&x" gives "x".
    static QString StripMnemonic(const QString& text);
};
