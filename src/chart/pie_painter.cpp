#include "chart/pie_painter.h"

#include "chart/basic_painting.h"
#include "chart/colors.h"
#include "chart/painter_saver.h"

namespace kvet::chart {
namespace {
constexpr double kRimShade = 0.72; // the rim is this share of the slice colour
} // namespace

void paintPie(QPainter& painter, const PieGeometry& pie)
{
    if (pie.slices.empty() || pie.frame.radius() <= 0)
        return;
    PainterSaver saver(painter);
    bool anyShare = false;
    for (const SliceGeometry& s : pie.slices)
        anyShare = anyShare || s.angle.span > 0;
    if (!anyShare)
        return;
    drawSoftShadow(painter, pie.silhouette, pie.style.shadowColor, pie.style.shadowOffset);

    const QPen outline = thinPen(Qt::black);
    for (std::size_t i : pie.order) {
        const SliceGeometry& s = pie.slices[i];
        if (s.rim.isEmpty())
            continue;
        painter.setPen(outline);
        painter.setBrush(shaded(s.color, kRimShade));
        painter.drawPath(s.rim);
    }
    for (std::size_t i : pie.order) {
        const SliceGeometry& s = pie.slices[i];
        if (s.top.isEmpty())
            continue;
        painter.setPen(Qt::NoPen);
        painter.setBrush(s.color);
        painter.drawPath(s.top);
        if (!s.bevel.isEmpty()) {
            painter.setBrush(brighterBy(s.color, pie.style.bevelSteps));
            painter.drawPath(s.bevel);
        }
        painter.setPen(outline);
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(s.top);
    }
}

} // namespace kvet::chart
