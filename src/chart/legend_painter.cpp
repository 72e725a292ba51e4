#include "chart/legend_painter.h"

#include "chart/basic_painting.h"
#include "chart/painter_saver.h"

namespace kvet::chart {

void paintLegend(QPainter& painter, const LegendGeometry& legend)
{
    PainterSaver saver(painter);
    const QRect box = legend.box.toRect();
    const int off = legend.style.shadowOffset;
    drawSoftShadow(painter, box, QColor(0, 0, 0, 140), QPoint(off, off), legend.backdrop);
    {
        // Upright boxes on whole pixels: crisp without smoothing.
        PainterSaver crisp(painter);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.fillRect(box, legend.style.background);
        painter.setPen(thinPen(legend.style.frame));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(box.adjusted(0, 0, -1, -1));
        painter.setPen(thinPen(Qt::black));
        for (const LegendRow& row : legend.rows) {
            painter.setBrush(row.color);
            painter.drawRect(row.square.toRect().adjusted(0, 0, -1, -1));
        }
    }
    for (const LegendRow& row : legend.rows) {
        drawTextBlock(painter, row.value);
        drawTextBlock(painter, row.label);
    }
}

} // namespace kvet::chart
