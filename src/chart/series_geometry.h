#pragma once
// Shapes and marks of the bar, cylinder and line series, placed through the
// axes' value and category maps.
#include "chart/chart_geometry.h"

namespace kvet::chart {

// A standing cylinder in the oblique view: axis at x (front plane) and depth
// zc, half widths rx (across) and rz (into the depth), from yBottom up to yTop.
struct CylinderShape {
    double x = 0, zc = 0, rx = 0, rz = 0, yTop = 0, yBottom = 0;
};
CylinderGeometry cylinderGeometry(const CylinderShape& shape, double obliqueAngle, int sides, const QColor& color,
                                  const BarStyle& style);

// Adds the bars, cylinders, lines and their marks of every series of `chart`.
void layoutCartesianSeries(const Chart& chart, const AxesGeometry& axes, double scale, ChartGeometry& out);

} // namespace kvet::chart
