#include "chart/mark_painter.h"

#include "chart/basic_painting.h"
#include "chart/painter_saver.h"

namespace kvet::chart {

void paintMarkConnectors(QPainter& painter, const std::vector<MarkGeometry>& marks)
{
    PainterSaver saver(painter);
    for (const MarkGeometry& mark : marks) {
        if (!mark.style.connector)
            continue;
        painter.setPen(thinPen(mark.style.connectorColor));
        painter.drawLine(mark.anchor, mark.connectorEnd());
    }
}

void paintMarks(QPainter& painter, const std::vector<MarkGeometry>& marks)
{
    PainterSaver saver(painter);
    for (const MarkGeometry& mark : marks) {
        const MarkStyle& st = mark.style;
        const QPolygonF box = mark.box();
        const QPointF offset(st.shadowOffset, st.shadowOffset);
        if (st.shadow == MarkShadow::Soft) {
            QPainterPath shape;
            shape.addPolygon(box);
            shape.closeSubpath();
            drawSoftShadow(painter, shape, st.shadowColor, offset);
        } else if (st.shadow == MarkShadow::Hard) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(st.shadowColor);
            painter.drawPolygon(box.translated(offset));
        }
        painter.setPen(st.frame ? thinPen(Qt::black) : QPen(Qt::NoPen));
        painter.setBrush(st.paper);
        painter.drawPolygon(box);

        PainterSaver turned(painter);
        painter.translate(mark.center);
        painter.rotate(-st.angle);
        painter.setFont(mark.font);
        painter.setPen(st.font.color);
        const QRectF local(-mark.size.width() / 2, -mark.size.height() / 2, mark.size.width(), mark.size.height());
        painter.drawText(local, Qt::AlignCenter, mark.lines.join(QLatin1Char('\n')));
    }
}

} // namespace kvet::chart
