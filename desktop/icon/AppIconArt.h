// The application icon as vector art: a text page, an arrow and a database
// drum, the picture of the 32 x 32 window icon drawn again at any size.
//
// One description serves both outputs, so the scalable icon and the
// rendered pixel icons cannot differ: AppIconSvg writes it as SVG and
// RenderAppIcon paints it with QPainter.
#pragma once

#include <QImage>
#include <string>

// The side of the art's square canvas, in its own units.
inline constexpr int kAppIconCanvas = 256;

// The icon as a standalone SVG document of kAppIconCanvas units square.
std::string AppIconSvg();

// The icon painted on a transparent SIZE x SIZE image.
QImage RenderAppIcon(int size);
