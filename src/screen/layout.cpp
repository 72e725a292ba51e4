#include "screen/layout.h"

#include <cmath>

namespace kvet {

// The steps run in a fixed order and each reads the value an earlier step has
// just stored, not a fresh evaluation of a formula: with whole-number division
// the two can differ, and the screen must come out exactly the same at every
// size. All divisions are C++ integer divisions (truncating toward zero).
ScreenLayout computeLayout(const LayoutInput& in)
{
    ScreenLayout out;
    auto& c = out.cells;

    // Every cell has the size of the top-left one; a 1-pixel line parts the
    // cells, and the top row starts one pixel below the banner.
    Rect& first = c[0][0];
    first.left = 0;
    first.top = in.bannerTop + in.bannerHeight + 1;
    first.width = in.width / 3;
    first.height = in.height / 3;

    out.bandHeight = in.height - 2 * first.height - in.bannerHeight - 3;
    out.bandTop = in.height - out.bandWidgetHeight();

    for (int row = 0; row < kChartRows; ++row) {
        for (int column = 0; column < kChartColumns; ++column) {
            Rect& r = c[row][column];
            r.width = first.width;
            r.height = first.height;
            r.left = column == 0 ? 0 : c[row][column - 1].left + c[row][column - 1].width + 1;
            r.top = row == 0 ? first.top : c[row - 1][0].top + c[row - 1][0].height + 1;
        }
    }

    // The grid starts just below the visible band (the band's height as the
    // band widget holds it); the ticker's scroll step brings it up into view.
    out.gridTop = out.bandWidgetHeight();
    out.gridLeft = 1;
    out.gridWidth = in.width - 1;
    // A grid without columns would divide by zero; it is laid out as one column.
    out.columnWidth = out.gridWidth / (in.gridColumns > 0 ? in.gridColumns : 1);

    // The address and amount headings sit further in (50 pixels) than the
    // others (10) because their cell texts begin with blanks.
    const int d = out.columnWidth;
    out.headingLefts = {10, d + 10, 2 * d + 10, 3 * d + 50, 4 * d + 50, 5 * d + 10, 6 * d + 10};
    return out;
}

int scaleDesign(int designPixels, double dpi)
{
    if (!(dpi > 0.0) || !std::isfinite(dpi))
        return designPixels;
    return static_cast<int>(std::lround(designPixels * dpi / 96.0));
}

} // namespace kvet
