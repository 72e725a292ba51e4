#include "chart/axes_painter.h"

#include "chart/basic_painting.h"
#include "chart/colors.h"
#include "chart/painter_saver.h"

namespace kvet::chart {
namespace {

// Shades of the walls' edge faces, as shares of the wall colour.
constexpr double kFrontEdge = 0.80;
constexpr double kTopEdge = 0.90;
constexpr double kSideEdge = 0.70;

void face(QPainter& painter, const QPolygonF& polygon, const QColor& fill)
{
    drawOutlined(painter, polygon, fill, Qt::black);
}

} // namespace

void paintPlotBack(QPainter& painter, const AxesGeometry& ax)
{
    PainterSaver saver(painter);
    painter.setPen(thinPen(Qt::black));
    if (ax.walls) {
        const WallGeometry& w = *ax.walls;
        painter.setBrush(Qt::NoBrush);
        painter.drawPolygon(w.back); // the back is transparent: the azure shows through
        face(painter, w.floorFace, w.floorColor);
        face(painter, w.floorFront, shaded(w.floorColor, kFrontEdge));
        face(painter, w.floorSide, shaded(w.floorColor, kSideEdge));
        face(painter, w.leftFace, w.leftColor);
        face(painter, w.leftFront, shaded(w.leftColor, kFrontEdge));
        face(painter, w.leftTop, shaded(w.leftColor, kTopEdge));
    }
    painter.setPen(thinPen(ax.left.gridColor));
    for (const GridLine& line : ax.grid)
        painter.drawLine(line.from, line.to);
    if (!ax.walls && ax.outline) {
        painter.setPen(thinPen(Qt::black));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(ax.front);
    }
}

void paintAxes(QPainter& painter, const AxesGeometry& ax)
{
    PainterSaver saver(painter);
    const double t = ax.wallThickness;
    const double axisX = ax.front.left() - t, axisY = ax.front.bottom() + t;
    const double leftHalf = ax.left.lineWidth / 2.0, bottomHalf = ax.bottom.lineWidth / 2.0;

    painter.setPen(thinPen(ax.left.tickColor));
    for (double y : ax.majorY)
        painter.drawLine(QPointF(axisX - leftHalf - ax.left.majorOuter, y), QPointF(axisX + leftHalf + ax.left.majorInner, y));
    for (double y : ax.minorY)
        painter.drawLine(QPointF(axisX - leftHalf - ax.left.minorLength, y), QPointF(axisX, y));
    painter.setPen(thinPen(ax.bottom.tickColor));
    for (double x : ax.majorX)
        painter.drawLine(QPointF(x, axisY + bottomHalf + ax.bottom.majorOuter), QPointF(x, axisY - bottomHalf - ax.bottom.majorInner));
    for (double x : ax.minorX)
        painter.drawLine(QPointF(x, axisY + bottomHalf + ax.bottom.minorLength), QPointF(x, axisY));

    painter.setPen(QPen(ax.left.lineColor, ax.left.lineWidth, Qt::SolidLine, Qt::SquareCap));
    painter.drawLine(QPointF(axisX, ax.front.top()), QPointF(axisX, axisY));
    painter.setPen(QPen(ax.bottom.lineColor, ax.bottom.lineWidth, Qt::SolidLine, Qt::SquareCap));
    painter.drawLine(QPointF(axisX, axisY), QPointF(ax.front.right(), axisY));

    for (const TextBlock& label : ax.leftLabels)
        drawTextBlock(painter, label);
    for (const TextBlock& label : ax.bottomLabels)
        drawTextBlock(painter, label);
}

} // namespace kvet::chart
