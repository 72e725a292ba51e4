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
    bool anyShare = false;
    for (const SliceGeometry& s : pie.slices)
        anyShare = anyShare || s.angle.span > 0;
    if (!anyShare)
        return;
    PainterSaver saver(painter);
    // The chart's smoothing setting, as the renderer set it.
    const bool smooth = painter.testRenderHint(QPainter::Antialiasing);
    drawSoftShadow(painter, pie.silhouette, pie.style.shadowColor, pie.style.shadowOffset, pie.backdrop);
    for (std::size_t i : pie.order) {
        const SliceGeometry& s = pie.slices[i];
        if (!s.rim.isEmpty())
            drawOutlined(painter, s.rim, shaded(s.color, kRimShade), Qt::black);
    }
    for (std::size_t i : pie.order) {
        const SliceGeometry& s = pie.slices[i];
        if (s.top.isEmpty())
            continue;
        if (s.bevel.isEmpty()) {
            drawOutlined(painter, s.top, s.color, Qt::black);
            continue;
        }
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(Qt::NoPen);
        painter.setBrush(s.color);
        painter.drawPath(s.top);
        // The bevel's inner edge has no outline to cover it: drawn as smooth
        // as the chart is.
        painter.setRenderHint(QPainter::Antialiasing, smooth);
        painter.setBrush(brighterBy(s.color, pie.style.bevelSteps));
        painter.drawPath(s.bevel);
        painter.setPen(thinPen(Qt::black));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(s.top);
    }
}

} // namespace kvet::chart
