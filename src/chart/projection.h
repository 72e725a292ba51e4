#pragma once
// Oblique projection of the 3D bar charts: a point at depth z (pixels behind
// the front plane) is drawn shifted z*cos(angle) to the right and z*sin(angle)
// up, with no perspective.
#include <QPointF>
#include <cmath>
#include <numbers>

namespace kvet::chart {

// The screen shift of one pixel of depth.
inline QPointF obliqueUnit(double angleDegrees)
{
    const double a = angleDegrees * std::numbers::pi / 180.0;
    return {std::cos(a), -std::sin(a)};
}

class Oblique {
public:
    explicit Oblique(double angleDegrees = 45) : unit_(obliqueUnit(angleDegrees)) {}
    // (x, y) on the front plane, z pixels deep.
    QPointF operator()(double x, double y, double z) const { return {x + z * unit_.x(), y + z * unit_.y()}; }
    QPointF operator()(QPointF front, double z) const { return (*this)(front.x(), front.y(), z); }
    QPointF shift(double z) const { return unit_ * z; }

private:
    QPointF unit_;
};

} // namespace kvet::chart
