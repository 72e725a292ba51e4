#pragma once
// Point colours the panels pass with each point, as 0x00BBGGRR values.
#include "chart/chart_model.h"

namespace kvet::panels {

inline constexpr chart::ColorRef kYellow = 0x0000FFFF; // RGB FFFF00
inline constexpr chart::ColorRef kOrange = 0x000082FF; // RGB FF8200

} // namespace kvet::panels
