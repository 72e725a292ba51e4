#pragma once
// Value axes: the range an axis spans, its "nice" tick step and the one mapping
// from values to pixels that every painter goes through.
#include <cmath>
#include <vector>

namespace kvet::chart {

// A value as the axes place it: one that is not finite stands at 0.
inline double finite(double v) { return std::isfinite(v) ? v : 0.0; }

struct ValueRange {
    double lo = 0, hi = 1;
    double span() const { return hi - lo; }
    bool operator==(const ValueRange&) const = default;
};

// The smallest of 1, 2 or 5 times a power of ten that divides `span` into at
// most `maxSteps` steps. A span that is not positive and finite gives 1.
double niceStep(double span, int maxSteps);

// The range of the finite `values`; with `includeZero` (bars grow from 0) it
// reaches 0 too. An empty or flat range is opened up so that it has a span.
ValueRange autoRange(const std::vector<double>& values, bool includeZero);

// Widens `range` so that, over `length` pixels, its low end lies `padLow`
// pixels inside the start and its high end `padHigh` pixels inside the end:
// room for markers and marks that reach beyond a point.
ValueRange widenForPixels(ValueRange range, double length, double padLow, double padHigh);

// Multiples of `step` inside [lo, hi] (at most 1000).
std::vector<double> majorTicks(ValueRange range, double step);

// `count` evenly spaced ticks inside each step, also before the first and after
// the last major tick where they fall inside the range.
std::vector<double> minorTicks(ValueRange range, double step, int count);

// Linear map from the values v0..v1 to the pixels p0..p1 (p1 < p0 for an axis
// that grows upwards).
class ScaleMap {
public:
    ScaleMap() = default;
    ScaleMap(ValueRange values, double p0, double p1) : range_(values), p0_(p0), p1_(p1) {}
    double toPixel(double value) const;
    // Pixels per unit value, signed.
    double pixelsPerUnit() const { return range_.span() != 0 ? (p1_ - p0_) / range_.span() : 0.0; }
    ValueRange range() const { return range_; }

private:
    ValueRange range_;
    double p0_ = 0, p1_ = 1;
};

} // namespace kvet::chart
