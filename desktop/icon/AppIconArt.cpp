#include "AppIconArt.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <numbers>
#include <sstream>
#include <vector>

namespace {

// One step of an outline. An arc runs along the ellipse inscribed in the
// rectangle (x, y, w, h) from startAngle through sweep degrees, counted
// counter-clockwise from three o'clock as on screen.
struct Step {
    enum Kind { kMove, kLine, kArc, kClose } kind;
    double x = 0, y = 0, w = 0, h = 0;
    double startAngle = 0, sweep = 0;
};

struct Shape {
    std::vector<Step> outline;
    const char* fill;    // "#rrggbb"
    const char* stroke;  // "#rrggbb", or nullptr for none
    double strokeWidth;
};

Step Move(double x, double y) {
    return {Step::kMove, x, y};
}
Step Line(double x, double y) {
    return {Step::kLine, x, y};
}
Step Arc(double x, double y, double w, double h, double startAngle, double sweep) {
    return {Step::kArc, x, y, w, h, startAngle, sweep};
}
Step Close() {
    return {Step::kClose};
}

// The point of an arc's ellipse at ANGLE degrees.
QPointF ArcPoint(const Step& arc, double angle) {
    const double radians = angle * std::numbers::pi / 180.0;
    return {arc.x + arc.w / 2 * (1 + std::cos(radians)),
            arc.y + arc.h / 2 * (1 - std::sin(radians))};
}

// The art, back to front. Colours are those of the 16-colour icon.
std::vector<Shape> Art() {
    constexpr const char* kBlack = "#202020";
    constexpr const char* kNavy = "#000080";
    constexpr double kOutline = 6;
    std::vector<Shape> shapes;
    // The page with its folded corner, and its lines of text.
    shapes.push_back(
        {{Move(12, 18), Line(92, 18), Line(124, 50), Line(124, 222), Line(12, 222), Close()},
         "#ffffff",
         kBlack,
         kOutline});
    shapes.push_back(
        {{Move(92, 18), Line(92, 50), Line(124, 50), Close()}, "#c0c0c0", kBlack, kOutline});
    const double lineY[] = {76, 100, 124, 148, 172, 196};
    for (std::size_t i = 0; i < std::size(lineY); ++i) {
        const double right = i % 2 == 0 ? 104 : 84;
        const double y = lineY[i];
        shapes.push_back(
            {{Move(28, y), Line(right, y), Line(right, y + 8), Line(28, y + 8), Close()},
             i % 2 == 0 ? "#008080" : "#808080",
             nullptr,
             0});
    }
    // The database drum: body, then its open top.
    shapes.push_back(
        {{Move(136, 76), Line(136, 212), Arc(136, 196, 108, 32, 180, 180), Line(244, 76), Close()},
         "#1848e0",
         kNavy,
         kOutline});
    shapes.push_back(
        {{Move(136, 76), Arc(136, 60, 108, 32, 180, -360), Close()}, "#40e8f8", kNavy, kOutline});
    // The arrow from the page into the drum.
    shapes.push_back({{Move(64, 110), Line(168, 110), Line(168, 82), Line(226, 130), Line(168, 178),
                       Line(168, 150), Line(64, 150), Close()},
                      "#ffd800",
                      "#806000",
                      kOutline});
    return shapes;
}

std::string SvgPath(const std::vector<Step>& outline) {
    std::ostringstream d;
    for (const Step& step : outline) {
        switch (step.kind) {
            case Step::kMove:
                d << "M" << step.x << " " << step.y << " ";
                break;
            case Step::kLine:
                d << "L" << step.x << " " << step.y << " ";
                break;
            case Step::kArc: {
                // SVG draws a full turn as two half turns.
                const int halves = std::abs(step.sweep) > 180 ? 2 : 1;
                for (int half = 1; half <= halves; ++half) {
                    const QPointF end =
                        ArcPoint(step, step.startAngle + step.sweep * half / halves);
                    const bool large = std::abs(step.sweep / halves) > 180;
                    // Counter-clockwise on screen is SVG's negative sweep.
                    const bool clockwise = step.sweep < 0;
                    d << "A" << step.w / 2 << " " << step.h / 2 << " 0 " << (large ? 1 : 0) << " "
                      << (clockwise ? 1 : 0) << " " << end.x() << " " << end.y() << " ";
                }
                break;
            }
            case Step::kClose:
                d << "Z";
                break;
        }
    }
    return d.str();
}

QPainterPath PainterPath(const std::vector<Step>& outline) {
    QPainterPath path;
    for (const Step& step : outline) {
        switch (step.kind) {
            case Step::kMove:
                path.moveTo(step.x, step.y);
                break;
            case Step::kLine:
                path.lineTo(step.x, step.y);
                break;
            case Step::kArc:
                path.arcTo(QRectF(step.x, step.y, step.w, step.h), step.startAngle, step.sweep);
                break;
            case Step::kClose:
                path.closeSubpath();
                break;
        }
    }
    return path;
}

}  // namespace

std::string AppIconSvg() {
    std::ostringstream svg;
    svg << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << kAppIconCanvas << "\" height=\""
        << kAppIconCanvas << "\" viewBox=\"0 0 " << kAppIconCanvas << " " << kAppIconCanvas
        << "\">\n";
    for (const Shape& shape : Art()) {
        svg << "  <path d=\"" << SvgPath(shape.outline) << "\" fill=\"" << shape.fill << "\"";
        if (shape.stroke != nullptr) {
            svg << " stroke=\"" << shape.stroke << "\" stroke-width=\"" << shape.strokeWidth
                << "\" stroke-linejoin=\"round\"";
        }
        svg << "/>\n";
    }
    svg << "</svg>\n";
    return svg.str();
}

QImage RenderAppIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(static_cast<double>(size) / kAppIconCanvas,
                  static_cast<double>(size) / kAppIconCanvas);
    for (const Shape& shape : Art()) {
        painter.setBrush(QColor(QString::fromLatin1(shape.fill)));
        if (shape.stroke != nullptr) {
            QPen pen(QColor(QString::fromLatin1(shape.stroke)), shape.strokeWidth);
            pen.setJoinStyle(Qt::RoundJoin);
            painter.setPen(pen);
        } else {
            painter.setPen(Qt::NoPen);
        }
        painter.drawPath(PainterPath(shape.outline));
    }
    painter.end();
    return image;
}
