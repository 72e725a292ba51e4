#include "screen/layout.h"

#include <gtest/gtest.h>
#include <limits>
#include <stdexcept>
#include <vector>

namespace kvet {
namespace {

// The cells as the dashboard's charts use them.
constexpr GridPlace kChart1{0, 0}, kChart3{1, 0}, kChart5{2, 0}, kChart2{0, 1}, kChart4{1, 1}, kChart6{2, 1};

std::vector<Rect> allCells(const ScreenLayout& l)
{
    std::vector<Rect> out;
    for (const auto& row : l.cells)
        out.insert(out.end(), row.begin(), row.end());
    return out;
}

ScreenLayout layoutAt(int w, int h, int bannerHeight = 60)
{
    return computeLayout({w, h, 0, bannerHeight, 7});
}

TEST(ScreenLayout, FullHdAt96Dpi)
{
    const ScreenLayout l = layoutAt(1920, 1080);
    for (const Rect& chart : allCells(l)) {
        EXPECT_EQ(chart.width, 640);
        EXPECT_EQ(chart.height, 360);
    }
    EXPECT_EQ(l.cell(kChart1), (Rect{0, 61, 640, 360}));
    EXPECT_EQ(l.cell(kChart3), (Rect{641, 61, 640, 360}));
    EXPECT_EQ(l.cell(kChart5), (Rect{1282, 61, 640, 360}));
    EXPECT_EQ(l.cell(kChart2), (Rect{0, 422, 640, 360}));
    EXPECT_EQ(l.cell(kChart4), (Rect{641, 422, 640, 360}));
    EXPECT_EQ(l.cell(kChart6), (Rect{1282, 422, 640, 360}));
    // The right-hand charts span x = 1282 to 1921, two columns past the window.
    EXPECT_EQ(l.cell(kChart5).left + l.cell(kChart5).width - 1, 1921);
    EXPECT_EQ(l.bandHeight, 297);
    EXPECT_EQ(l.bandTop, 783);
    EXPECT_EQ(l.gridLeft, 1);
    EXPECT_EQ(l.gridWidth, 1919);
    EXPECT_EQ(l.gridTop, 297);
    EXPECT_EQ(l.columnWidth, 274);
    EXPECT_EQ(l.gridWidth - 7 * l.columnWidth, 1);
    EXPECT_EQ(l.headingLefts, (std::array<int, 7>{10, 284, 558, 872, 1146, 1380, 1654}));
}

TEST(ScreenLayout, Wxga1366At96Dpi)
{
    const ScreenLayout l = layoutAt(1366, 768);
    EXPECT_EQ(l.cell(kChart1), (Rect{0, 61, 455, 256}));
    EXPECT_EQ(l.cell(kChart3), (Rect{456, 61, 455, 256}));
    EXPECT_EQ(l.cell(kChart5), (Rect{912, 61, 455, 256}));
    EXPECT_EQ(l.cell(kChart2), (Rect{0, 318, 455, 256}));
    EXPECT_EQ(l.cell(kChart4), (Rect{456, 318, 455, 256}));
    EXPECT_EQ(l.cell(kChart6), (Rect{912, 318, 455, 256}));
    EXPECT_EQ(l.bandHeight, 193);
    EXPECT_EQ(l.bandTop, 575);
    EXPECT_EQ(l.gridTop, 193);
    EXPECT_EQ(l.gridWidth, 1365);
    EXPECT_EQ(l.columnWidth, 195);
    EXPECT_EQ(l.headingLefts, (std::array<int, 7>{10, 205, 400, 635, 830, 985, 1180}));
}

TEST(ScreenLayout, At144DpiOnlyDesignSizesScale)
{
    const int banner = scaleDesign(design::kBannerHeight, 144);
    EXPECT_EQ(banner, 90);
    EXPECT_EQ(scaleDesign(design::kGridRowHeight, 144), 45);
    EXPECT_EQ(15 * scaleDesign(design::kGridRowHeight, 144), 675);
    EXPECT_EQ(scaleDesign(design::kHeadingStripHeight, 144), 42);
    EXPECT_EQ(scaleDesign(17, 144), 26); // 25.5 rounds up, as the toolkit scales fonts

    const ScreenLayout l = layoutAt(2880, 1620, banner);
    const int ch = 1620 / 3;
    EXPECT_EQ(l.cell(kChart1).top, 91);
    EXPECT_EQ(l.cell(kChart2).top, 91 + ch + 1);
    EXPECT_EQ(l.bandHeight, 1620 - 2 * ch - 93);
    // The layout's own pixels stay unscaled.
    EXPECT_EQ(l.gridLeft, 1);
    EXPECT_EQ(l.headingLefts[0], 10);
    EXPECT_EQ(l.headingLefts[3], 3 * l.columnWidth + 50);
}

TEST(ScreenLayout, ScaleDesignKeepsSizeForUnusableDensity)
{
    EXPECT_EQ(scaleDesign(60, 96), 60);
    EXPECT_EQ(scaleDesign(30, 120), 38); // 37.5 rounds half away from zero
    EXPECT_EQ(scaleDesign(60, 0), 60);
    EXPECT_EQ(scaleDesign(60, -1), 60);
    EXPECT_EQ(scaleDesign(60, std::numeric_limits<double>::quiet_NaN()), 60);
}

TEST(ScreenLayout, TinyWindowKeepsFormulaButWidgetsGetNoNegativeSize)
{
    const ScreenLayout l = layoutAt(300, 180);
    EXPECT_EQ(l.bandHeight, 180 - 120 - 63);
    EXPECT_EQ(l.bandWidgetHeight(), 0);
    EXPECT_EQ(l.bandTop, 180);
    EXPECT_EQ(l.gridTop, 0);
}

TEST(ScreenLayout, GridWithoutColumnsDoesNotDivideByZero)
{
    const ScreenLayout l = computeLayout({800, 600, 0, 60, 0});
    EXPECT_EQ(l.columnWidth, 799);
}

TEST(ScreenLayout, PlaceOutsideTheGridOfSixIsRefused)
{
    const ScreenLayout l = layoutAt(800, 600);
    EXPECT_THROW(l.cell({3, 0}), std::out_of_range);
    EXPECT_THROW(l.cell({0, 2}), std::out_of_range);
    EXPECT_THROW(l.cell({-1, 0}), std::out_of_range);
}

// Sizes chosen so that W mod 3 and (W − 1) mod 7 take several values, with
// heights of each remainder mod 3.
class OddSizes : public ::testing::TestWithParam<std::pair<int, int>> {};

TEST_P(OddSizes, RegionsTileTheWindow)
{
    const auto [w, h] = GetParam();
    const ScreenLayout l = layoutAt(w, h);
    const int cw = w / 3, ch = h / 3;

    // Banner, line, row 1, line, row 2, line, band: exactly H.
    EXPECT_EQ(l.cell(kChart1).top, 61);
    EXPECT_EQ(l.cell(kChart2).top, l.cell(kChart1).top + ch + 1);
    EXPECT_EQ(l.bandTop, l.cell(kChart2).top + ch + 1);
    EXPECT_EQ(60 + 1 + ch + 1 + ch + 1 + l.bandHeight, h);
    EXPECT_EQ(l.bandHeight, ch + h % 3 - 63);

    // Across a row: chart, line, chart, line, chart; the last one ends 2, 1 or
    // 0 pixels past the window's last column for W mod 3 = 0, 1, 2.
    for (int row = 0; row < kChartRows; ++row) {
        const Rect& left = l.cell({0, row});
        const Rect& middle = l.cell({1, row});
        const Rect& right = l.cell({2, row});
        EXPECT_EQ(left.left, 0);
        EXPECT_EQ(middle.left, cw + 1);
        EXPECT_EQ(right.left, 2 * cw + 2);
        EXPECT_EQ(middle.top, left.top);
        EXPECT_EQ(right.top, left.top);
        EXPECT_EQ(right.left + right.width - w, 2 - w % 3);
    }
    for (const Rect& chart : allCells(l))
        EXPECT_EQ(chart.width, cw);

    // Seven columns of D cover 7·D; (W − 1) mod 7 pixels stay empty.
    EXPECT_EQ(l.gridWidth, w - 1);
    EXPECT_EQ(l.gridWidth - 7 * l.columnWidth, (w - 1) % 7);
    EXPECT_EQ(l.gridTop, l.bandHeight);
    const int d = l.columnWidth;
    EXPECT_EQ(l.headingLefts, (std::array<int, 7>{10, d + 10, 2 * d + 10, 3 * d + 50, 4 * d + 50,
                                                  5 * d + 10, 6 * d + 10}));
}

INSTANTIATE_TEST_SUITE_P(WindowSizes, OddSizes,
                         ::testing::Values(std::pair{1024, 768}, std::pair{1280, 1024},
                                         std::pair{1281, 721}, std::pair{1440, 900},
                                         std::pair{1599, 899}, std::pair{1600, 1000},
                                         std::pair{2560, 1440}, std::pair{3841, 2161},
                                         std::pair{800, 600}, std::pair{1366, 769}));

} // namespace
} // namespace kvet
