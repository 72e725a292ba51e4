#include "chart/line_painter.h"

#include "chart/basic_painting.h"
#include "chart/painter_saver.h"

#include <algorithm>

namespace kvet::chart {

void paintLineSegments(QPainter& painter, const LineGeometry& line)
{
    if (line.points.size() < 2)
        return;
    PainterSaver saver(painter);
    const bool oneColor = std::all_of(line.colors.begin(), line.colors.end(),
                                      [&](const QColor& c) { return c == line.colors.front(); });
    if (oneColor) { // one polyline: the joins stay clean
        painter.setPen(QPen(line.colors.front(), line.style.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPolyline(line.points.data(), int(line.points.size()));
        return;
    }
    for (std::size_t i = 1; i < line.points.size(); ++i) {
        painter.setPen(QPen(line.colors[i], line.style.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawLine(line.points[i - 1], line.points[i]);
    }
}

void paintLineMarkers(QPainter& painter, const LineGeometry& line)
{
    const double r = line.style.markerRadius;
    for (std::size_t i = 0; i < line.points.size(); ++i) {
        const QPointF p = line.points[i];
        const QPolygonF diamond({{p.x() - r, p.y()}, {p.x(), p.y() - r}, {p.x() + r, p.y()}, {p.x(), p.y() + r}});
        drawOutlined(painter, diamond, line.colors[i], Qt::black);
    }
}

} // namespace kvet::chart
