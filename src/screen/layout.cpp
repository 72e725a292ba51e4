#include "screen/layout.h"

#include <cmath>

namespace kvet {

namespace {
enum ChartIndex { Chart1, Chart2, Chart3, Chart4, Chart5, Chart6 };
}

// The steps run in a fixed order and each reads the value an earlier step has
// just stored, not a fresh evaluation of a formula: with whole-number division
// the two can differ, and the screen must come out exactly the same at every
// size. All divisions are C++ integer divisions (truncating toward zero).
ScreenLayout computeLayout(const LayoutInput& in)
{
    ScreenLayout out;
    auto& c = out.charts;

    c[Chart1].left = 0;
    c[Chart2].left = 0;

    c[Chart1].top = in.bannerTop + in.bannerHeight + 1;

    c[Chart1].width = in.width / 3;
    for (int i = Chart2; i <= Chart6; ++i)
        c[i].width = c[Chart1].width;

    c[Chart1].height = in.height / 3;
    for (int i = Chart2; i <= Chart6; ++i)
        c[i].height = c[Chart1].height;

    out.bandHeight = in.height - 2 * c[Chart1].height - in.bannerHeight - 3;
    out.bandTop = in.height - out.bandWidgetHeight();

    c[Chart3].left = c[Chart1].left + c[Chart1].width + 1;
    c[Chart5].left = c[Chart3].left + c[Chart1].width + 1;
    c[Chart3].top = c[Chart1].top;
    c[Chart5].top = c[Chart1].top;

    c[Chart4].left = c[Chart2].left + c[Chart2].width + 1;
    c[Chart6].left = c[Chart4].left + c[Chart4].width + 1;

    c[Chart2].top = c[Chart1].top + c[Chart1].height + 1;
    c[Chart4].top = c[Chart2].top;
    c[Chart6].top = c[Chart2].top;

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
