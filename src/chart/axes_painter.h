#pragma once
// Walls, grid, axis lines, ticks and axis labels of the bar and line charts.
#include "chart/chart_geometry.h"

#include <QPainter>

namespace kvet::chart {

// Walls (3D) or the plot's outline (flat), with the grid lines on them.
void paintPlotBack(QPainter& painter, const AxesGeometry& axes);
// Axis lines, ticks and labels, drawn over the walls.
void paintAxes(QPainter& painter, const AxesGeometry& axes);

} // namespace kvet::chart
