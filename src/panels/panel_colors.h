#pragma once
// Point colours the panels pass with each point, as 0x00BBGGRR values.
#include "chart/chart_model.h"

namespace kvet::panels {

inline constexpr chart::ColorRef kYellow = 0x0000FFFF; // RGB FFFF00
inline constexpr chart::ColorRef kOrange = 0x000082FF; // RGB FF8200

// The last two characters of a yyyymm / yymmdd text (the whole text if shorter).
inline QString lastTwo(const QString& text) { return text.right(2); }
// The first four characters (the year), the whole text if shorter.
inline QString firstFour(const QString& text) { return text.left(4); }

} // namespace kvet::panels
