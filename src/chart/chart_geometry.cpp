#include "chart/chart_geometry.h"

#include "chart/axes_geometry.h"
#include "chart/legend_geometry.h"
#include "chart/panel_layout.h"
#include "chart/pie_geometry.h"
#include "chart/series_geometry.h"

namespace kvet::chart {
namespace {
constexpr double kLegendGap = 8; // pixels between the pie and its legend
} // namespace

ChartGeometry computeGeometry(const Chart& chart, QSizeF size, double scale)
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

} // namespace kvet::chart
