#include "chart/mark_geometry.h"

#include <QTransform>
#include <cmath>
#include <numbers>

namespace kvet::chart {
namespace {
constexpr double kPadX = 3; // pixels of paper left and right of the text
constexpr double kPadY = 1;
constexpr double kInsideGap = 3;
} // namespace

QPolygonF MarkGeometry::box() const
{
    const QRectF local(-size.width() / 2, -size.height() / 2, size.width(), size.height());
    QTransform t;
    t.translate(center.x(), center.y());
    t.rotate(-style.angle); // QTransform turns clockwise on screen
    return t.map(QPolygonF(local));
}

QPointF MarkGeometry::connectorEnd() const
{
    return {center.x(), center.y() + turnedHeight(size, style.angle) / 2};
}

MarkGeometry makeMark(const MarkStyle& style, const QFont& font, const QStringList& lines)
{
    MarkGeometry mark;
    mark.style = style;
    mark.font = font;
    mark.lines = lines;
    const QSizeF text = blockSize(font, lines);
    mark.size = {text.width() + 2 * kPadX, text.height() + 2 * kPadY};
    return mark;
}

double turnedHeight(QSizeF size, double angleDegrees)
{
    const double a = angleDegrees * std::numbers::pi / 180.0;
    return std::abs(size.width() * std::sin(a)) + std::abs(size.height() * std::cos(a));
}

void placeCentered(MarkGeometry& mark, QPointF at)
{
    mark.anchor = at;
    mark.center = at;
}

void placeAbove(MarkGeometry& mark, QPointF point, double distance)
{
    mark.anchor = point;
    mark.center = {point.x(), point.y() - distance - turnedHeight(mark.size, mark.style.angle) / 2};
}

void placeInsideTop(MarkGeometry& mark, QPointF top)
{
    mark.anchor = top;
    mark.center = {top.x(), top.y() + kInsideGap + turnedHeight(mark.size, mark.style.angle) / 2};
}

} // namespace kvet::chart
