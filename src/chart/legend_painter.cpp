#include "chart/legend_painter.h"

#include "chart/basic_painting.h"
#include "chart/painter_saver.h"

namespace kvet::chart {

void paintLegend(QPainter& painter, const LegendGeometry& legend)
{
    PainterSaver saver(painter);
    QPainterPath box;
    box.addRect(legend.box);
    const double off = legend.style.shadowOffset;
    drawSoftShadow(painter, box, QColor(0, 0, 0, 150), QPointF(off, off));
    painter.setPen(thinPen(legend.style.frame));
    painter.setBrush(legend.style.background);
    painter.drawRect(legend.box);
    for (const LegendRow& row : legend.rows) {
        painter.setPen(thinPen(Qt::black));
        painter.setBrush(row.color);
        painter.drawRect(row.square);
        drawTextBlock(painter, row.value);
        drawTextBlock(painter, row.label);
    }
}

} // namespace kvet::chart
