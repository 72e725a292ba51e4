#pragma once
// Where every region of the screen sits for a given window size: the grid
// of six chart cells, two rows of three under the banner, the ticker band at the bottom,
// the ticker grid inside the band and the column headings above the grid.
// Pure integer arithmetic on physical pixels; the window applies the result.
#include <array>
#include <cstddef>

namespace kvet {

struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const Rect&) const = default;
};

// A chart's place in the grid of six: two rows of three under the banner.
inline constexpr int kChartColumns = 3;
inline constexpr int kChartRows = 2;
struct GridPlace {
    int column = 0; // 0..2, left to right
    int row = 0;    // 0..1, top to bottom
    bool operator==(const GridPlace&) const = default;
};

struct LayoutInput {
    int width = 0, height = 0;          // the window's outer size W × H (it has no border)
    int bannerTop = 0, bannerHeight = 0; // read from the banner, already scaled to the screen
    int gridColumns = 7;
};

struct ScreenLayout {
    std::array<std::array<Rect, kChartColumns>, kChartRows> cells{}; // [row][column]
    // The band's height as its formula gives it: H − 2·(H div 3) − banner − 3.
    // Below it the window is too small for the band (under 187 pixels with a
    // 60-pixel banner) and this is negative; widgets get bandWidgetHeight().
    int bandHeight = 0;
    int bandTop = 0; // the band hangs from the window's bottom edge: H − bandWidgetHeight()
    int gridLeft = 0, gridTop = 0, gridWidth = 0; // grid position within the band
    int columnWidth = 0;                          // the grid's default column width D
    std::array<int, 7> headingLefts{};            // Label1..Label7, from the band's left edge

    int bandWidgetHeight() const { return bandHeight < 0 ? 0 : bandHeight; }
    // The cell of a place inside the grid; throws std::out_of_range outside it.
    const Rect& cell(GridPlace place) const { return cells.at(std::size_t(place.row)).at(std::size_t(place.column)); }
};

ScreenLayout computeLayout(const LayoutInput& input);

// A design size at 96 dots per inch turned into whole pixels on a screen of
// the given density (design × dpi ÷ 96, rounded half away from zero, as the
// window toolkit scales its forms). A density that is not a positive number
// leaves the design size as it is.
int scaleDesign(int designPixels, double dpi);

// Design sizes at 96 dots per inch that scale with the screen density. The
// layout's own constants (the 1-pixel lines, the 3, the grid's left of 1, the
// heading offsets 10 and 50) are plain pixels and are never scaled.
namespace design {
constexpr int kBannerHeight = 60;
constexpr int kHeadingStripHeight = 28;
constexpr int kGridRowHeight = 30;
// The grid's height, 15 rows of 30, is a design size of its own: at a density
// where 30 does not scale to whole pixels it is not 15 times the scaled row
// height (563, not 570, at 120 dots per inch).
constexpr int kGridHeight = 450;
constexpr int kHeadingTop = 5;
} // namespace design

} // namespace kvet
