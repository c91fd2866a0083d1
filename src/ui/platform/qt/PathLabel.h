// A static text that shows a path, painted elided in the middle when it is
// wider than the control ("/home/lab/runs/…/plate7_2026-12-01.sdb"), so
// that both the start of the path and the file's name stay in view. Only
// the painting changes: the control's text, which the data exchange gives
// back, stays the whole path, and so does its tooltip.
#pragma once

#include <QString>

class QLabel;

// Makes LABEL paint as above from now on.
void ElideInTheMiddle(QLabel& label);
bool ElidesInTheMiddle(const QLabel& label);

// The text LABEL paints: its text, elided in the middle to its width.
QString PaintedPathText(const QLabel& label);
