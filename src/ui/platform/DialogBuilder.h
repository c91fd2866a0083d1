// CDialogBuilder makes the widgets of a dialog template.
//
// Every control becomes a child widget at its template rectangle converted
// to pixels with the dialog font's dialog units; the dialog gets the
// template's caption, window style and client size. Tab order is template
// order. A static text with an "&" mnemonic leads to the next control in
// template order that can take the focus (its buddy), whose field name it
// also gives, for messages about that field; default buttons are default.
// Group boxes lie beneath the other controls and let clicks through.
//
// The desktop's font is not the template's: static texts are widened where
// their words need it (StaticTextFit.h), group boxes carry their title on
// the frame line (GroupBox.h), and a push button's mnemonic gives it the
// focus (PushButton.h), as the template expects. A dialog too narrow for
// its caption in the title bar is widened (CaptionWidth.h), with its
// controls centred as the template placed them.
#pragma once

#include <QString>
#include <map>

#include "ui/platform/DialogTemplate.h"

class QDialog;
class QWidget;

class CDialogBuilder {
public:
    // Builds TEMPLATE's controls into DIALOG, which must not have any yet.
    // Returns the controls that have an identifier, by identifier.
    static std::map<int, QWidget*> Build(const DialogTemplate& dlgTemplate, QDialog& dialog);

    // The field name a control got from its label ("MS File" for "&MS
    // File"), or an empty string when it has none.
    static QString FieldName(const QWidget* control);

    // TEXT without its mnemonic markers: "&&" gives "&", "&x" gives "x".
    static QString StripMnemonic(const QString& text);
};
