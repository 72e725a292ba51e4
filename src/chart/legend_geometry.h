#pragma once
// The pie legend: one row per slice (colour square, value, label) in a white
// box at the right of the chart. It always fits the chart: long labels are
// shortened with an ellipsis, and when rows do not fit the height the font gets
// a little smaller, then the rows that still do not fit are left out.
#include "chart/chart_geometry.h"

namespace kvet::chart {

struct LegendEntry {
    QColor color;
    QString value;
    QStringList label;
};

// Nothing when there are no entries or no room.
std::optional<LegendGeometry> layoutLegend(const LegendStyle& style, const std::vector<LegendEntry>& entries,
                                           const QRectF& inner, double scale, bool antialiased);

} // namespace kvet::chart
