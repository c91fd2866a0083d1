// What a test measures on a shown dialog, the same on either twin
// (tests/ui/qt/probes_fit.cpp, tests/ui/win32/probes_fit.cpp): its controls
// with their rectangles and texts and what those texts need in each
// control's own font, what a screen reader says of them, tooltips, the
// scale and the desktop's font. Widths and heights are in the window
// system's logical pixels.
#pragma once

#include <string>
#include <vector>

#include "tests/ui/probes_layout.h"
#include "ui/platform/Dialog.h"
#include "ui/platform/TableWindow.h"

// TRUE when INNER lies wholly inside OUTER; when A and B share a pixel.
inline bool Contains(const PixelRect& outer, const PixelRect& inner) {
    return outer.x <= inner.x && outer.y <= inner.y &&
           inner.x + inner.width <= outer.x + outer.width &&
           inner.y + inner.height <= outer.y + outer.height;
}
inline bool Intersects(const PixelRect& a, const PixelRect& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height &&
           b.y < a.y + a.height;
}

enum class Shape { kLabel, kPathLabel, kPicture, kButton, kGroupBox, kField, kOther };

// One control of a dialog as it is shown.
struct ShownControl {
    int id = 0;        // IDC_STATIC when it has none
    std::string what;  // its kind and position, for messages
    Shape shape = Shape::kOther;
    PixelRect rect;  // in the dialog's client area
    bool takesFocus = false;
    // The text it shows as painted: a label's, a button's or a group box's
    // title without mnemonic markers, a path label's as elided.
    std::string text;
    int textWidth = 0;   // what TEXT needs in the control's font
    int lineHeight = 0;  // one line of the control's font
    // Where TEXT has room, in the control's own coordinates: a label's
    // contents, a button's face, a group box's title.
    PixelRect textRoom;
    // A group box: TRUE when its title lies on its frame's top line, which
    // is then at FRAMELINEY in its own coordinates.
    bool titleOnFrameLine = false;
    int frameLineY = 0;
    std::string accessibleName;
    std::string accessibleDescription;
};

// The dialog's controls, menus left out, in creation order.
std::vector<ShownControl> ShownControls(CDialog& dlg);
// The dialog's client area, at (0, 0).
PixelRect ClientArea(CDialog& dlg);
// How wide the dialog must be for its caption to be shown whole in the
// title bar, with the bar's icon and buttons.
int CaptionNeedsWidth(CDialog& dlg);
// TRUE when the user cannot change the dialog's size by its frame.
bool HasFixedSize(CDialog& dlg);

// The scale the test program runs at (Qt: QT_SCALE_FACTOR; Windows: the
// system's DPI over 96), and the one DLG is laid out for.
double TestScale();
double ScaleOf(CDialog& dlg);
// Tells DLG that it is now on a screen of PERCENT scale, as the window
// system does when it moves to another monitor. FALSE, leaving DLG as it
// is, on a twin that takes its scale once for the process (Qt).
bool MoveToScreenScale(CDialog& dlg, int percent);

// Makes FAMILY at POINTS the desktop's font for the dialogs made from now
// on, or (FAMILY empty) puts the desktop's own back. FALSE where the
// desktop's font does not reach the dialogs (Windows: a dialog has the
// shell's dialog font, at the screen's scale).
bool UseDesktopFont(const std::string& family, int points);

// What a screen reader calls control ID, or the edit field of combo box
// ID (FIELD). (What it says after the name: probes_fields.h.)
std::string AccessibleName(CDialog& dlg, int id, bool field = false);
// The tooltip of control ID.
std::string ToolTipOf(CDialog& dlg, int id);
// What the twin paints where it leaves out the middle of a path.
std::string PaintedEllipsis();

// Combo box ID's empty edit field: what it shows, what that needs in the
// field's font, and the field's width for text.
struct CueShown {
    std::string text;
    int textWidth = 0;
    int room = 0;
};
CueShown CueOf(CDialog& dlg, int id);

// The table window of CONTENT, shown and fitted into a screen whose
// available area is WIDTH x HEIGHT device pixels: that area in logical
// pixels, the window's client area and its Close button in it, and
// CONTENT's asked size (widthUnits x heightUnits dialog units of the
// window's font). FALSE where the twin cannot show it to a test.
struct TableWindowShown {
    PixelRect screen;
    PixelRect window;
    PixelRect close;
    PixelRect sizeOfUnits;
};
bool ShowTableWindowOn(const TableWindowContent& content, int width, int height,
                       TableWindowShown& shown);
