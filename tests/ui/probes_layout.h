// What a test looks at of a dialog's layout and of its window's frame, the
// same on either twin of the dialog layer (qt/probes_layout.cpp,
// win32/probes_layout.cpp).
#pragma once

#include <ostream>

#include "ui/platform/Dialog.h"

// A rectangle in pixels.
struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const PixelRect&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const PixelRect& rect) {
    return out << '(' << rect.x << ", " << rect.y << ") " << rect.width << 'x' << rect.height;
}

// Control ID's rectangle in the area where the template's controls are
// laid out: the dialog's client area below its menu bar, if it has one.
PixelRect ControlRect(CDialog& dlg, int id);
// That area itself, at (0, 0).
PixelRect LayoutArea(CDialog& dlg);
// The rectangle X, Y, CX, CY in dialog units of DLG's font, in pixels, as
// the twin maps dialog units for DLG.
PixelRect MapDialogUnits(CDialog& dlg, int x, int y, int cx, int cy);

// TRUE when the window's frame offers to minimise, or to maximise, it.
bool HasMinimizeBox(CDialog& dlg);
bool HasMaximizeBox(CDialog& dlg);
// TRUE when the window shows an icon of its own (not the system's default).
bool HasWindowIcon(CDialog& dlg);
