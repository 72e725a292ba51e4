#include "chart/basic_painting.h"

#include "chart/painter_saver.h"

namespace kvet::chart {

void drawTextBlock(QPainter& painter, const TextBlock& block)
{
    if (block.lines.isEmpty())
        return;
    PainterSaver saver(painter);
    painter.setFont(block.font);
    painter.setPen(block.color);
    painter.drawText(block.rect, block.align, block.lines.join(QLatin1Char('\n')));
}

QPen thinPen(const QColor& color)
{
    QPen pen(color, 1);
    pen.setCosmetic(true);
    return pen;
}

void drawSoftShadow(QPainter& painter, const QPainterPath& shape, const QColor& color, QPointF offset)
{
    if (shape.isEmpty())
        return;
    PainterSaver saver(painter);
    const QPainterPath moved = shape.translated(offset);
    // Outer layers first: a faint wide edge, a stronger narrow one, then the body.
    QColor edge = color;
    painter.setBrush(Qt::NoBrush);
    edge.setAlphaF(0.18f);
    painter.setPen(QPen(edge, 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(moved);
    edge.setAlphaF(0.35f);
    painter.setPen(QPen(edge, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(moved);
    QColor body = color;
    body.setAlphaF(0.75f);
    painter.setPen(Qt::NoPen);
    painter.setBrush(body);
    painter.drawPath(moved);
}

} // namespace kvet::chart
