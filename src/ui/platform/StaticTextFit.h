// Fitting the static texts of a dialog template to the desktop's font.
//
// A template sizes each text for the font it was designed with; the
// desktop's font (DejaVu Sans, Noto Sans, any scale) may need more width
// for the same words. A text that does not fit its rectangle is widened to
// the right into the free space beside it: up to the next control on its
// line, the right edge of the group box around it or the dialog's right
// edge, keeping a margin of two dialog units. Nothing else moves, so the
// template's layout stays as it is.
#pragma once

#include <QLabel>
#include <vector>

class CDialogUnits;

// WIDGETS are all controls of one dialog, LABELS the static texts among them.
void FitStaticTexts(const std::vector<QLabel*>& labels, const std::vector<QWidget*>& widgets,
                    const CDialogUnits& units, const QWidget& dialog);
