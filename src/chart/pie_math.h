#pragma once
// Pure geometry of the tilted 3D pie. Angles are degrees, counter-clockwise on
// screen from the 3 o'clock direction; on an ellipse they are the angles of the
// circle before the tilt (parametric angles), as QPainterPath::arcTo takes them.
#include <QPointF>
#include <QRectF>
#include <utility>
#include <vector>

namespace kvet::chart {

struct SliceAngle {
    double start = 0; // in [0, 360)
    double span = 0;  // 360 * |value| / sum of |values|
    double middle() const { return start + span / 2; }
    bool operator==(const SliceAngle&) const = default;
};

// One slice per value in order, the first starting at `rotation`. Values that
// are not finite count as 0; if nothing is left every span is 0.
std::vector<SliceAngle> sliceAngles(const std::vector<double>& values, double rotation);

// The point of `rect`'s inscribed ellipse at `degrees`.
QPointF pointOnEllipse(const QRectF& rect, double degrees);

// The largest pie that fits `area` together with its shadow offset: a circle of
// radius r seen tilted by `tiltDegrees` is an ellipse r wide and r*cos(tilt)
// high (half axes); the rim is `depthPercent` of the diameter, seen as
// depth*sin(tilt) pixels below the top face.
struct PieFrame {
    QRectF top;      // bounding rect of the top face
    double rim = 0;  // pixels the bottom face lies below the top face
    double radius() const { return top.width() / 2; }
    QRectF scaled(double factor) const; // top face shrunk round its centre
};
PieFrame tiltedPie(const QRectF& area, double tiltDegrees, double depthPercent, QPointF shadowOffset);

// The parts of a slice that lie on the front half (180..360 degrees), where the
// rim can be seen: pairs (from, to) with from < to, in the slice's own angles.
std::vector<std::pair<double, double>> frontArcs(const SliceAngle& slice);

// Slice indices in painting order: the slice farthest back (towards 90
// degrees) first, the one nearest the viewer (towards 270) last.
std::vector<std::size_t> backToFrontOrder(const std::vector<SliceAngle>& slices);

// Centre of a slice's mark: half the radius out along its middle angle.
QPointF markAnchor(const PieFrame& pie, const SliceAngle& slice);

} // namespace kvet::chart
