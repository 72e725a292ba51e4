#pragma once
// Point colours the panels pass with each point, given as the system's
// tables give them, 0x00BBGGRR.
#include "chart/colors.h"

namespace kvet::panels {

inline const QColor kYellow = chart::colorFromBgr(0x0000FFFF); // RGB FFFF00
inline const QColor kOrange = chart::colorFromBgr(0x000082FF); // RGB FF8200

} // namespace kvet::panels
