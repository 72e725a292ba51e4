#pragma once
// Axes, walls, grid and axis labels of the bar and line charts, and the value
// range those charts need so that bars, markers and marks all fit the plot.
#include "chart/chart_geometry.h"
#include "chart/projection.h"

namespace kvet::chart {

// Where a 3D bar or cylinder stands in the plot's depth (pixels behind the
// front plane): from `z0` to `z0 + depth`.
struct DepthSlot {
    double z0 = 0, depth = 0;
    double middle() const { return z0 + depth / 2; }
};
DepthSlot barDepthSlot(const SeriesStyle& style, double plotDepth, double columnWidth);

// Bottom-of-column values: each series stacked on those before it where its
// style says so, otherwise standing on 0. Values that are not finite count 0.
std::vector<std::vector<double>> stackBases(const Chart& chart);

// The number of positions on the bottom axis (the longest series).
std::size_t categoryCount(const Chart& chart);

// Width of one category slot; bars and cylinders take a share of it.
double slotWidth(const AxesGeometry& axes, std::size_t categories);

AxesGeometry layoutAxes(const Chart& chart, const QRectF& inner, double scale);

} // namespace kvet::chart
