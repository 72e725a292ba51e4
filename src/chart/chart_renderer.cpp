#include "chart/chart_renderer.h"

#include "chart/axes_painter.h"
#include "chart/column_painter.h"
#include "chart/legend_painter.h"
#include "chart/line_painter.h"
#include "chart/mark_painter.h"
#include "chart/painter_saver.h"
#include "chart/panel_painter.h"
#include "chart/pie_painter.h"

#include <cmath>

namespace kvet::chart {

ChartRenderer::ChartRenderer(const Chart& chart, double scale) : chart_(chart)
{
    setScale(scale);
}

void ChartRenderer::setScale(double scale)
{
    const double sane = (std::isfinite(scale) && scale > 0) ? scale : 1.0;
    if (sane != scale_)
        dirty_ = true;
    scale_ = sane;
}

const ChartGeometry& ChartRenderer::prepare(QSizeF size)
{
    if (dirty_ || size != geometry_.size) {
        geometry_ = computeGeometry(chart_, size, scale_);
        dirty_ = false;
    }
    return geometry_;
}

void ChartRenderer::paint(QPainter& painter) const
{
    paintChart(painter, geometry_);
}

void paintChart(QPainter& painter, const ChartGeometry& g)
{
    if (g.size.isEmpty())
        return;
    PainterSaver saver(painter);
    paintBackground(painter, g);
    if (g.clipToPanel)
        painter.setClipPath(g.panel, Qt::IntersectClip);
    painter.setRenderHint(QPainter::Antialiasing, g.antialiased);
    painter.setRenderHint(QPainter::TextAntialiasing, g.antialiased);
    paintTitle(painter, g);
    if (g.axes)
        paintPlotBack(painter, *g.axes);
    if (g.pie)
        paintPie(painter, *g.pie);
    paintBars(painter, g.bars);
    paintCylinders(painter, g.cylinders);
    if (g.axes)
        paintAxes(painter, *g.axes);
    for (const LineGeometry& line : g.lines)
        paintLineSegments(painter, line);
    paintMarkConnectors(painter, g.marks);
    for (const LineGeometry& line : g.lines)
        paintLineMarkers(painter, line);
    paintMarks(painter, g.marks);
    if (g.legend)
        paintLegend(painter, *g.legend);
}

QImage renderChart(const Chart& chart, QSize size, double scale, qreal devicePixelRatio)
{
    const qreal dpr = (devicePixelRatio > 0 && std::isfinite(devicePixelRatio)) ? devicePixelRatio : 1.0;
    if (size.isEmpty())
        return {};
    QImage image(size * dpr, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::transparent);
    ChartRenderer renderer(chart, scale);
    renderer.prepare(QSizeF(size));
    QPainter painter(&image);
    renderer.paint(painter);
    return image;
}

} // namespace kvet::chart
