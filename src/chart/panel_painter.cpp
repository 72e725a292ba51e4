#include "chart/panel_painter.h"

#include "chart/basic_painting.h"
#include "chart/colors.h"
#include "chart/painter_saver.h"

#include <QRadialGradient>
#include <cmath>

namespace kvet::chart {

void paintBackground(QPainter& painter, const ChartGeometry& g)
{
    PainterSaver saver(painter);
    // The corner arcs are always smooth: they border the screen blue.
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    const Background& bg = g.background;
    if (bg.radial) {
        const QRectF r(QPointF(0, 0), g.size);
        QRadialGradient gradient(r.center(), std::hypot(r.width(), r.height()) / 2);
        gradient.setColorAt(0, bg.color);
        gradient.setColorAt(std::clamp(bg.balance, 0.0, 1.0), blended(bg.color, 0.5, bg.outerColor));
        gradient.setColorAt(1, bg.outerColor);
        painter.setBrush(gradient);
    } else {
        painter.setBrush(bg.color);
    }
    painter.drawPath(g.panel);
}

void paintTitle(QPainter& painter, const ChartGeometry& g)
{
    for (const TextBlock& line : g.title)
        drawTextBlock(painter, line);
}

} // namespace kvet::chart
