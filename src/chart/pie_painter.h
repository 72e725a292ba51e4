#pragma once
#include "chart/chart_geometry.h"

#include <QPainter>

namespace kvet::chart {

// Shadow, then the rim pieces and top faces of the slices, back to front.
void paintPie(QPainter& painter, const PieGeometry& pie);

} // namespace kvet::chart
