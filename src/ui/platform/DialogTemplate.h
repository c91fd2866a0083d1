// The program's resources as data: dialog templates (what a dialog resource
// says about the window and each of its controls; the dialog builder turns
// one into widgets), strings and icons.
//
// Positions and sizes are in dialog units, which scale with the dialog's
// font (see CDialogUnits); the dialog font is the desktop's, whatever font
// the template was designed with. Controls are listed in template order,
// which is also their tab order.
#pragma once

#include <QIcon>
#include <span>
#include <string>

#include "ui/platform/WinDefs.h"

enum class ControlKind {
    PushButton,
    GroupBox,
    StaticText,
    Icon,
    ComboBox,
    Edit,
};

// The styles that change what the builder makes. What else a resource
// could say, each kind here always is: static text is aligned left, a
// combo box has an edit field and a scrolling list, and an edit field
// scrolls sideways (one that stopped typing at its visible width would
// accept a number of characters that depends on the desktop's font, so
// character limits belong to data exchange).
enum ControlStyle : unsigned {
    CS_NONE = 0,
    CS_DEFPUSHBUTTON = 1u << 0,  // the dialog's default button
    CS_TABSTOP = 1u << 1,        // reached with the Tab key
    CS_NOPREFIX = 1u << 2,       // static text shows "&" as it stands
    CS_SORT = 1u << 3,           // combo list kept sorted
    CS_BORDER = 1u << 4,         // edit with a border
};

struct DialogControl {
    int id;  // control identifier, or IDC_STATIC
    ControlKind kind;
    const char* text;   // caption; "&" marks a mnemonic unless CS_NOPREFIX
    int x, y, cx, cy;   // dialog units; a combo's cy includes its drop-down list
    unsigned style;     // ControlStyle bits
    UINT resource = 0;  // the icon shown by a ControlKind::Icon
};

// Window styles that matter for a dialog.
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
};

using HICON = QIcon;

// The program's resources, looked up by identifier: nullptr, an empty
// string or a null icon when there is no such resource.
const DialogTemplate* FindDialogTemplate(UINT id);
std::string LoadString(UINT id);
HICON LoadIcon(UINT id);
