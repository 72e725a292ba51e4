#include "chart/mark_painter.h"

#include "chart/basic_painting.h"
#include "chart/painter_saver.h"

#include <cmath>

namespace kvet::chart {
namespace {

// An upright mark on whole pixels: drawn crisp and without transforms.
void paintUpright(QPainter& painter, const MarkGeometry& mark)
{
    const MarkStyle& st = mark.style;
    const QRect box = mark.bounds().toRect();
    const QPoint offset(st.shadowOffset, st.shadowOffset);
    if (st.shadow == MarkShadow::Soft)
        drawSoftShadow(painter, box, st.shadowColor, offset);
    PainterSaver crisp(painter);
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (st.shadow == MarkShadow::Hard)
        painter.fillRect(box.translated(offset), st.shadowColor);
    painter.fillRect(box, st.paper);
    if (st.frame) {
        painter.setPen(thinPen(Qt::black));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(box.adjusted(0, 0, -1, -1));
    }
    painter.setFont(mark.font);
    painter.setPen(st.font.color);
    painter.drawText(box, Qt::AlignCenter, mark.lines.join(QLatin1Char('\n')));
}

void paintTurned(QPainter& painter, const MarkGeometry& mark)
{
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

// A value the axis cannot place (infinite, or stacked past the range of a
// double) puts its mark at no real position; an upright box is drawn on whole
// pixels, whose coordinates must fit an int. Such a mark is left out.
bool placeable(const MarkGeometry& mark)
{
    constexpr double kFar = 1e6; // pixels, far outside any screen
    const QRectF b = mark.bounds();
    for (const double edge : {b.left(), b.top(), b.right(), b.bottom()}) {
        if (!(std::abs(edge) < kFar)) // NaN fails this too
            return false;
    }
    return true;
}

} // namespace

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
        if (!placeable(mark))
            continue;
        if (mark.style.angle == 0)
            paintUpright(painter, mark);
        else
            paintTurned(painter, mark);
    }
}

} // namespace kvet::chart
