#include "chart/axis_scale.h"

#include <algorithm>
#include <cmath>

namespace kvet::chart {

double niceStep(double span, int maxSteps)
{
    if (!(span > 0) || !std::isfinite(span))
        return 1.0;
    const double raw = span / std::max(1, maxSteps);
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0, 10.0}) {
        // A hair of tolerance so that 1000/5 picks 200 and not 500.
        if (m * magnitude >= raw * (1 - 1e-9))
            return m * magnitude;
    }
    return 10.0 * magnitude;
}

ValueRange autoRange(const std::vector<double>& values, bool includeZero)
{
    bool any = false;
    double lo = 0, hi = 0;
    for (double v : values) {
        if (!std::isfinite(v))
            continue;
        lo = any ? std::min(lo, v) : v;
        hi = any ? std::max(hi, v) : v;
        any = true;
    }
    if (!any)
        return {0, 1};
    if (includeZero) {
        lo = std::min(lo, 0.0);
        hi = std::max(hi, 0.0);
    }
    if (hi == lo) {
        if (includeZero && lo == 0)
            return {0, 1};
        const double pad = lo != 0 ? std::abs(lo) * 0.1 : 1.0;
        return {lo - pad, hi + pad};
    }
    return {lo, hi};
}

ValueRange widenForPixels(ValueRange range, double length, double padLow, double padHigh)
{
    padLow = std::max(0.0, padLow);
    padHigh = std::max(0.0, padHigh);
    // On a very short axis the pads may not eat more than half of it.
    const double pads = padLow + padHigh;
    if (length <= 0 || range.span() <= 0)
        return range;
    if (pads > length / 2) {
        padLow *= length / 2 / pads;
        padHigh *= length / 2 / pads;
    }
    const double perPixel = range.span() / (length - padLow - padHigh);
    return {range.lo - padLow * perPixel, range.hi + padHigh * perPixel};
}

std::vector<double> majorTicks(ValueRange range, double step)
{
    std::vector<double> ticks;
    if (!(step > 0) || !std::isfinite(range.lo) || !std::isfinite(range.hi))
        return ticks;
    const double eps = step * 1e-9;
    for (double k = std::ceil((range.lo - eps) / step); ticks.size() < 1000; k += 1) {
        const double v = k * step;
        if (v > range.hi + eps)
            break;
        ticks.push_back(std::abs(v) < eps ? 0.0 : v);
    }
    return ticks;
}

std::vector<double> minorTicks(ValueRange range, double step, int count)
{
    std::vector<double> ticks;
    if (count <= 0 || !(step > 0) || !std::isfinite(range.lo) || !std::isfinite(range.hi))
        return ticks;
    const double minor = step / (count + 1);
    const double eps = step * 1e-9;
    double k = std::floor(range.lo / step) - 1;
    for (int round = 0; round < 2000; ++round, k += 1) {
        const double base = k * step;
        if (base > range.hi + eps)
            break;
        for (int i = 1; i <= count; ++i) {
            const double v = base + i * minor;
            if (v >= range.lo - eps && v <= range.hi + eps)
                ticks.push_back(v);
        }
    }
    return ticks;
}

double ScaleMap::toPixel(double value) const
{
    if (range_.span() == 0)
        return p0_;
    return p0_ + (value - range_.lo) * (p1_ - p0_) / range_.span();
}

} // namespace kvet::chart
