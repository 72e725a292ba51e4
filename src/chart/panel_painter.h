#pragma once
// The chart panel: its azure background inside the rounded corners, and the title.
#include "chart/chart_geometry.h"

#include <QPainter>

namespace kvet::chart {

void paintBackground(QPainter& painter, const ChartGeometry& g);
void paintTitle(QPainter& painter, const ChartGeometry& g);

} // namespace kvet::chart
