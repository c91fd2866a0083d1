// Dialog templates as data, and the program's resources (its templates,
// strings and icon) by identifier.
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
// Each twin of the dialog layer makes its windows from these templates
// (qt/DialogBuilder.h); they are the one home of positions and texts.
#pragma once

#include <span>
#include <string>

#include "ui/platform/WinDefs.h"

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
    CS_PATHELLIPSIS = 1u << 4,   // static text showing a path: elided in the middle
                                 // when too wide, the whole path in its tooltip
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

// An icon of the program's resources; nullptr: none.
struct IconResource;
using HICON = const IconResource*;

// The program's resources by identifier: nullptr, an empty string or a
// null icon when there is no such resource. The templates and strings are
// data (ResourceData.cpp); an icon is the twin's.
const DialogTemplate* FindDialogTemplate(UINT id);
std::string LoadString(UINT id);
HICON LoadIcon(UINT id);
