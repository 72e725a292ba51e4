#pragma once
#include "chart/chart_geometry.h"

#include <QPainter>

namespace kvet::chart {

// Thin lines from points to their marks; drawn before the series' markers.
void paintMarkConnectors(QPainter& painter, const std::vector<MarkGeometry>& marks);
// The mark boxes: shadow, paper, optional frame and the text, turned as styled.
void paintMarks(QPainter& painter, const std::vector<MarkGeometry>& marks);

} // namespace kvet::chart
