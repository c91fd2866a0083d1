// Dialog templates as data, the program's resources (its templates, strings
// and icon), and the builder that makes a dialog's widgets from a template.
//
// A template lists the window and its controls in template order, which is
// also the tab order, at positions in dialog units, which scale with the
// dialog's font (the desktop's, not the one the template was designed
// with). A static text with an "&" mnemonic leads to the next control that
// can take the focus (its buddy) and names that control's field (its
// accessible name) for messages. Group boxes lie beneath the other controls
// and let clicks through.
//
// What a screen reader says of the controls: a control's accessible name is
// its own text (a button's caption without its mnemonic, the path a path
// label shows), a field's the label before it, an icon's the text its
// template gives; the template's control texts name a control only where
// that would not tell it apart or where it has no label, and describe the
// controls that have an identifier.
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

#include "ui/platform/WinDefs.h"

class QDialog;

enum class ControlKind { PushButton, GroupBox, StaticText, Icon, ComboBox, Edit };

// The styles that change what the builder makes. Whatever else a resource
// could say, static text is aligned left, a combo box has an edit field and
// a scrolling list in the order it is filled, and an edit field scrolls
// sideways (one that stopped at its visible width would take as many
// characters as the desktop's font allows, so character limits belong to
// data exchange).
enum ControlStyle : unsigned {
    CS_NONE = 0,
    CS_DEFPUSHBUTTON = 1u << 0,  // the dialog's default button
    CS_TABSTOP = 1u << 1,        // reached with the Tab key
    CS_NOPREFIX = 1u << 2,       // static text shows "&" as it stands
    CS_BORDER = 1u << 3,         // edit with a border
};

// The accessible texts of control ID.
struct ControlText {
    int id;
    const char* name;  // nullptr: the control's own
    const char* description;
};

struct DialogControl {
    int id;  // control identifier, or IDC_STATIC
    ControlKind kind;
    const char* text;   // caption ("&" marks a mnemonic unless CS_NOPREFIX);
                        // an icon's accessible name
    int x, y, cx, cy;   // dialog units; a combo's cy includes its drop-down list
    unsigned style;     // ControlStyle bits
    UINT resource = 0;  // the icon shown by a ControlKind::Icon
};

enum DialogStyle : unsigned {
    DS_NONE = 0,
    DS_MINIMIZEBOX = 1u << 0,  // can be minimised
    DS_APPWINDOW = 1u << 1,    // the application's main window (own task bar entry)
};

struct DialogTemplate {
    UINT id;
    const char* caption;
    int cx, cy;      // client area in dialog units
    unsigned style;  // DialogStyle bits
    std::span<const DialogControl> controls;
    std::span<const ControlText> texts;
};

using HICON = QIcon;

// The program's resources by identifier: nullptr, an empty string or a
// null icon when there is no such resource.
const DialogTemplate* FindDialogTemplate(UINT id);
std::string LoadString(UINT id);
HICON LoadIcon(UINT id);

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
