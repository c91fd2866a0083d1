// A menu bar for a dialog built from a template: the dialog grows by the
// bar's height and every control moves down by it, so that the template's
// layout stays as it was designed, only below the bar. The bar is the
// dialog's own, inside the window (Linux desktops keep the window menu to
// themselves, and not every desktop shows a global menu).
#pragma once

class QDialog;
class QMenuBar;

// Puts BAR, a child of DIALOG that holds its menus, above the dialog's
// controls, which must be built. Once for each dialog.
void PlaceMenuBarAbove(QDialog& dialog, QMenuBar& bar);
