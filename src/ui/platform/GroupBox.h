// CGroupBox: a group box drawn as dialog templates lay it out. The title
// sits on the frame's top line, which runs through the middle of the
// title's text line; the controls inside start below the title, where the
// template puts them. (Qt's own group box draws its title above the frame,
// so a control placed just below the title would straddle the line.)
#pragma once

#include <QGroupBox>

class CGroupBox : public QGroupBox {
public:
    CGroupBox(const QString& title, QWidget* parent);

    // In the box's own coordinates: the title's rectangle, whose height is
    // one line of the box's font, and the y of the frame's top line.
    QRect TitleRect() const;
    int FrameLineY() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};
