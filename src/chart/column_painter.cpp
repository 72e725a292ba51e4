#include "chart/column_painter.h"

#include "chart/basic_painting.h"
#include "chart/painter_saver.h"

namespace kvet::chart {

void paintBars(QPainter& painter, const std::vector<BoxGeometry>& bars)
{
    for (const BoxGeometry& bar : bars) {
        drawOutlined(painter, bar.side, bar.color, Qt::black);
        drawOutlined(painter, bar.top, bar.color, Qt::black);
        drawOutlined(painter, bar.front, bar.color, Qt::black);
    }
}

void paintCylinders(QPainter& painter, const std::vector<CylinderGeometry>& cylinders)
{
    for (const CylinderGeometry& c : cylinders) {
        drawOutlined(painter, c.side, c.sideBrush, c.outline);
        drawOutlined(painter, c.cap, c.capColor, c.outline);
    }
}

} // namespace kvet::chart
