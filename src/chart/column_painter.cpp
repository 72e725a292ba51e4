#include "chart/column_painter.h"

#include "chart/basic_painting.h"
#include "chart/painter_saver.h"

namespace kvet::chart {

void paintBars(QPainter& painter, const std::vector<BoxGeometry>& bars)
{
    PainterSaver saver(painter);
    painter.setPen(thinPen(Qt::black));
    for (const BoxGeometry& bar : bars) {
        painter.setBrush(bar.color);
        painter.drawPolygon(bar.side);
        painter.drawPolygon(bar.top);
        painter.drawPolygon(bar.front);
    }
}

void paintCylinders(QPainter& painter, const std::vector<CylinderGeometry>& cylinders)
{
    PainterSaver saver(painter);
    for (const CylinderGeometry& c : cylinders) {
        painter.setPen(thinPen(c.outline));
        painter.setBrush(c.sideBrush);
        painter.drawPolygon(c.side);
        painter.setBrush(c.capColor);
        painter.drawPolygon(c.cap);
    }
}

} // namespace kvet::chart
