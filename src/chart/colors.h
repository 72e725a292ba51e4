#pragma once
// Colour conversions of the chart: 0x00BBGGRR values to QColor, the slice
// palette behind the automatic colour, and the shades used for 3D faces.
#include "chart/chart_model.h"

#include <QColor>
#include <array>
#include <cstdint>

namespace kvet::chart {

// The twelve slice colours; slice i takes position i mod 12.
const std::array<QColor, 12>& slicePalette();

// The one place a 0x00BBGGRR number (blue in the high byte, red in the low;
// the form the system's colour tables give) becomes a colour. The top byte
// does not count.
QColor colorFromBgr(std::uint32_t bbggrr);

// The colour of point `index`: its own colour, or for the automatic colour the
// palette entry at the index.
QColor pointColor(const QColor& color, std::size_t index);

// Each channel raised by `steps` (clamped to 255); the rim bevel of a pie.
QColor brighterBy(const QColor& c, int steps);

// Each channel multiplied by `factor` (0..1); side faces and rims.
QColor shaded(const QColor& c, double factor);

// `top` drawn with `opacity` over `below`, as the screen shows it.
QColor blended(const QColor& top, double opacity, const QColor& below);

} // namespace kvet::chart
