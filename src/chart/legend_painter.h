#pragma once
#include "chart/chart_geometry.h"

#include <QPainter>

namespace kvet::chart {

// White box with a thin frame and a soft shadow; per row a colour square, the
// value and the label.
void paintLegend(QPainter& painter, const LegendGeometry& legend);

} // namespace kvet::chart
