#include "chart/pie_math.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>

namespace kvet::chart {
namespace {

double radians(double degrees) { return degrees * std::numbers::pi / 180.0; }

double normalized(double degrees)
{
    double d = std::fmod(degrees, 360.0);
    if (d < 0)
        d += 360.0;
    return d >= 360.0 ? 0.0 : d;
}

double magnitude(double v) { return std::isfinite(v) ? std::abs(v) : 0.0; }

} // namespace

std::vector<SliceAngle> sliceAngles(const std::vector<double>& values, double rotation)
{
    double total = 0;
    for (double v : values)
        total += magnitude(v);
    std::vector<SliceAngle> slices;
    slices.reserve(values.size());
    double at = std::isfinite(rotation) ? rotation : 0.0;
    for (double v : values) {
        const double span = (total > 0 && std::isfinite(total)) ? 360.0 * magnitude(v) / total : 0.0;
        slices.push_back({normalized(at), span});
        at += span;
    }
    return slices;
}

QPointF pointOnEllipse(const QRectF& rect, double degrees)
{
    const double a = radians(degrees);
    return {rect.center().x() + std::cos(a) * rect.width() / 2,
            rect.center().y() - std::sin(a) * rect.height() / 2};
}

QRectF PieFrame::scaled(double factor) const
{
    const QPointF c = top.center();
    const double w = top.width() * factor, h = top.height() * factor;
    return {c.x() - w / 2, c.y() - h / 2, w, h};
}

PieFrame tiltedPie(const QRectF& area, double tiltDegrees, double depthPercent, QPointF shadowOffset)
{
    const double squash = std::cos(radians(tiltDegrees));
    const double rimPerDiameter = std::max(0.0, depthPercent) / 100.0 * std::sin(radians(tiltDegrees));
    const double room_w = area.width() - std::abs(shadowOffset.x());
    const double room_h = area.height() - std::abs(shadowOffset.y());
    // 2r wide; 2r*squash + 2r*rimPerDiameter high.
    const double byHeight = room_h / (2 * squash + 2 * rimPerDiameter);
    const double r = std::max(0.0, std::min(room_w / 2, byHeight));
    const double rx = r, ry = r * squash, rim = 2 * r * rimPerDiameter;
    const QPointF c = area.center();
    const double top = c.y() - (2 * ry + rim) / 2;
    return {QRectF(c.x() - rx, top, 2 * rx, 2 * ry), rim};
}

std::vector<std::pair<double, double>> frontArcs(const SliceAngle& slice)
{
    std::vector<std::pair<double, double>> arcs;
    const double from = slice.start, to = slice.start + slice.span;
    for (double windowStart : {-180.0, 180.0, 540.0}) {
        const double a = std::max(from, windowStart), b = std::min(to, windowStart + 180.0);
        if (b > a)
            arcs.emplace_back(a, b);
    }
    return arcs;
}

std::vector<std::size_t> backToFrontOrder(const std::vector<SliceAngle>& slices)
{
    std::vector<std::size_t> order(slices.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    // The screen y of the middle grows towards the viewer: -sin(middle).
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return std::sin(radians(slices[a].middle())) > std::sin(radians(slices[b].middle()));
    });
    return order;
}

QPointF markAnchor(const PieFrame& pie, const SliceAngle& slice)
{
    return pointOnEllipse(pie.scaled(0.5), slice.middle());
}

} // namespace kvet::chart
