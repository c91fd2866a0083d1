// How wide a dialog must be for the window manager to show its caption
// whole.
//
// The title bar is the window manager's, so its font and buttons are not
// known here; the estimate takes the caption in the bold of the dialog's
// font, two characters of padding, and room for the window's icon and
// three buttons (minimise, maximise, close), each a square as high as a
// line of that font and half again.
#pragma once

#include <QFont>
#include <QString>

int CaptionNeedsWidth(const QString& caption, const QFont& dialogFont);
