#pragma once
// 3D bars and cylinders, left to right so that a right neighbour covers a
// bar's side face where they meet.
#include "chart/chart_geometry.h"

#include <QPainter>

namespace kvet::chart {

void paintBars(QPainter& painter, const std::vector<BoxGeometry>& bars);
void paintCylinders(QPainter& painter, const std::vector<CylinderGeometry>& cylinders);

} // namespace kvet::chart
