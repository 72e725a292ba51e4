#pragma once
// Turns a pie series into the shapes of its tilted 3D pie, its legend entries
// and its marks.
#include "chart/chart_geometry.h"
#include "chart/legend_geometry.h"

namespace kvet::chart {

// Slice colours in slice order (automatic colour -> palette by index).
std::vector<QColor> sliceColors(const Series& series);

std::vector<LegendEntry> legendEntries(const Series& series);

// The pie of `series` centred in `area`.
PieGeometry layoutPie(const Series& series, const View3D& view, const QRectF& area);

// One mark per slice with a share, label above percentage, centred at half the
// radius on the slice's middle angle.
std::vector<MarkGeometry> pieMarks(const Series& series, const PieGeometry& pie, double scale, bool antialiased);

} // namespace kvet::chart
