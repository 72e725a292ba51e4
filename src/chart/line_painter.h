#pragma once
#include "chart/chart_geometry.h"

#include <QPainter>

namespace kvet::chart {

// Straight segments from point to point, each in the colour of the point it
// leads to.
void paintLineSegments(QPainter& painter, const LineGeometry& line);
// Diamond markers on every point, filled with the point's colour.
void paintLineMarkers(QPainter& painter, const LineGeometry& line);

} // namespace kvet::chart
