#include "chart/chart_geometry.h"

#include "chart/axes_geometry.h"
#include "chart/legend_geometry.h"
#include "chart/panel_layout.h"
#include "chart/pie_geometry.h"
#include "chart/series_geometry.h"

#include <QFontMetricsF>
#include <cmath>

namespace kvet::chart {
namespace {
constexpr double kLegendGap = 8; // pixels between the pie and its legend
constexpr double kInk = 4;       // room for outlines, shadows and glyph overhang

// The boxes of everything the painters will draw, with the room each needs
// beyond its box: none for text (its rect holds the glyphs and their spacing),
// a few pixels for outlines and shadows.
struct Drawn {
    QRectF box;
    double ink;
};
std::vector<Drawn> drawnBoxes(const ChartGeometry& g)
{
    std::vector<Drawn> boxes;
    for (const TextBlock& t : g.title) { // the rect spans the panel; the text is centred in it
        const double width = QFontMetricsF(t.font).horizontalAdvance(t.lines.join(QString()));
        boxes.push_back({QRectF(t.rect.center().x() - width / 2, t.rect.top(), width, t.rect.height()), 0});
    }
    if (g.pie)
        boxes.push_back({g.pie->silhouette.boundingRect().translated(g.pie->style.shadowOffset)
                            .united(g.pie->silhouette.boundingRect()), kInk});
    if (g.legend) {
        const double off = g.legend->style.shadowOffset;
        boxes.push_back({g.legend->box.adjusted(0, 0, off, off), kInk});
    }
    if (g.axes) {
        const AxesGeometry& ax = *g.axes;
        const double t = ax.wallThickness + ax.left.majorOuter + ax.left.lineWidth;
        boxes.push_back({ax.front.united(ax.front.translated(ax.depth)).adjusted(-t, 0, 0, t), kInk});
        for (const TextBlock& l : ax.leftLabels)
            boxes.push_back({l.rect, 0});
        for (const TextBlock& l : ax.bottomLabels)
            boxes.push_back({l.rect, 0});
    }
    for (const BoxGeometry& b : g.bars)
        boxes.push_back({b.front.boundingRect().united(b.top.boundingRect()).united(b.side.boundingRect()), kInk});
    for (const CylinderGeometry& c : g.cylinders)
        boxes.push_back({c.side.boundingRect().united(c.cap.boundingRect()), kInk});
    for (const LineGeometry& l : g.lines)
        for (const QPointF& p : l.points) {
            const double r = l.style.markerRadius + l.style.width;
            boxes.push_back({QRectF(p.x() - r, p.y() - r, 2 * r, 2 * r), kInk});
        }
    for (const MarkGeometry& m : g.marks)
        boxes.push_back({m.bounds().united(m.bounds().translated(m.style.shadowOffset, m.style.shadowOffset))
                            .united(QRectF(m.anchor, QSizeF(1, 1))), kInk});
    return boxes;
}

} // namespace

bool clearOfCorners(const QRectF& box, QSizeF size, double radius)
{
    const QRectF& b = box;
    if (!std::isfinite(b.left()) || !std::isfinite(b.top()) || !std::isfinite(b.right()) || !std::isfinite(b.bottom()))
        return false;
    if (!QRectF(QPointF(0, 0), size).contains(b))
        return false;
    const double w = size.width(), h = size.height(), r = radius;
    // The box's point nearest each panel corner must lie inside that corner's
    // arc; every other point of the box is then inside too.
    const struct { QPointF nearest, centre; } corners[] = {
        {b.topLeft(), {r, r}}, {b.topRight(), {w - r, r}},
        {b.bottomLeft(), {r, h - r}}, {b.bottomRight(), {w - r, h - r}},
    };
    for (const auto& c : corners) {
        const QPointF d = c.nearest - c.centre;
        const bool towardsX = c.centre.x() < w / 2 ? d.x() < 0 : d.x() > 0;
        const bool towardsY = c.centre.y() < h / 2 ? d.y() < 0 : d.y() > 0;
        const bool inSquare = towardsX && towardsY;
        if (inSquare && std::hypot(d.x(), d.y()) > r)
            return false;
    }
    return true;
}

namespace {
ChartGeometry layoutContent(const Chart& chart, QSizeF size, double scale);
} // namespace

ChartGeometry computeGeometry(const Chart& chart, QSizeF size, double scale)
{
    ChartGeometry g = layoutContent(chart, size, scale);
    for (const Drawn& d : drawnBoxes(g))
        if (!clearOfCorners(d.box.adjusted(-d.ink, -d.ink, d.ink, d.ink), size, chart.style().cornerRadius)) {
            g.clipToPanel = true;
            break;
        }
    return g;
}

namespace {
ChartGeometry layoutContent(const Chart& chart, QSizeF size, double scale)
{
    const ChartStyle& style = chart.style();
    ChartGeometry g;
    g.size = size;
    g.background = style.background;
    g.antialiased = style.antialiased;
    g.panel = roundedPanel(size, style.cornerRadius);
    if (size.isEmpty())
        return g;
    const PanelLayout panel = layoutPanel(style, chart.titleLines(), size, scale);
    g.title = panel.title;

    if (style.view.kind == ViewKind::Pie3D) {
        for (std::size_t s = 0; s < chart.seriesCount(); ++s) {
            const Series& series = chart.series(s);
            if (series.style().kind != SeriesKind::Pie)
                continue;
            QRectF area = panel.inner;
            if (style.legend.visible) {
                g.legend = layoutLegend(style.legend, legendEntries(series), panel.inner, scale, style.antialiased);
                if (g.legend)
                    area.setRight(std::max(area.left(), g.legend->box.left() - kLegendGap));
            }
            g.pie = layoutPie(series, style.view, area);
            if (!style.background.radial) {
                g.pie->backdrop = style.background.color;
                if (g.legend)
                    g.legend->backdrop = style.background.color;
            }
            g.marks = pieMarks(series, *g.pie, scale, style.antialiased);
            break; // one pie per chart
        }
        return g;
    }
    if (style.axes) {
        g.axes = layoutAxes(chart, panel.inner, scale);
        layoutCartesianSeries(chart, *g.axes, scale, g);
    }
    return g;
}

} // namespace

} // namespace kvet::chart
