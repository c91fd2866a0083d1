// What a screen reader says of the controls of the program's dialogs: their
// accessible names and descriptions.
//
// A control's name is its own text (a button's caption without its
// mnemonic, the path a path label shows) or, for a field, the label before
// it (the dialog builder gives it, and the data exchange's messages name
// the field by it); the texts below name a control only where that would
// not tell it apart (the two Select... buttons) or where it has no label.
// Every control with an identifier has a description.
#pragma once

#include <span>

#include "ui/platform/WinDefs.h"

class CDialog;

struct ControlText {
    int id;
    const char* name;  // nullptr: the control's own
    const char* description;
};

// The texts of the controls of dialog template IDD; empty when it has none.
std::span<const ControlText> FindControlTexts(UINT idd);

// Gives the controls of DLG, built from template IDD, their texts, and its
// icon (a control without text) the program's name.
void DescribeControls(CDialog& dlg, UINT idd);
