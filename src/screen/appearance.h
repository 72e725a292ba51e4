#pragma once
// The screen's fixed look: colour roles and the fonts of the window's own
// regions (sizes in pixels at 96 dpi; the window scales them to the screen).
#include <QColor>
#include <QFont>

namespace kvet::appearance {

// The yellows of the texts and the charts' colours are chart::colors
// (chart/chart_style.h), shared with the charts.
inline const QColor kScreenBlue{0x00, 0x60, 0xE1}; // 14770176 as 0x00BBGGRR

inline constexpr int kFormFontPx = 15;    // "宋体", the window's default font
inline constexpr int kBannerFontPx = 40;  // banner caption, "黑体"
inline constexpr int kHeadingFontPx = 19; // heading strip and its labels, "黑体"

// "黑体" at a pixel size, regular.
QFont heiti(int pixelSize);

// Makes "黑体" and "宋体" resolve to an installed CJK face where the system
// has no face of that name (Linux), and to the real faces on Windows.
void registerFontSubstitutes();

} // namespace kvet::appearance
