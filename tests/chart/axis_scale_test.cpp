#include "chart/axis_scale.h"
#include "chart/projection.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace kvet::chart;

struct StepCase {
    double span;
    int maxSteps;
    double step;
};

class NiceStep : public ::testing::TestWithParam<StepCase> {};

TEST_P(NiceStep, IsOneTwoOrFiveTimesAPowerOfTen)
{
    EXPECT_DOUBLE_EQ(niceStep(GetParam().span, GetParam().maxSteps), GetParam().step);
}

INSTANTIATE_TEST_SUITE_P(Spans, NiceStep,
                         ::testing::Values(StepCase{1000, 5, 200}, StepCase{930, 5, 200}, StepCase{7, 10, 1},
                                         StepCase{0.9, 5, 0.2}, StepCase{1234, 4, 500}, StepCase{45000, 6, 10000},
                                         StepCase{1, 1, 1}, StepCase{0, 5, 1}, StepCase{-5, 5, 1},
                                         StepCase{std::numeric_limits<double>::infinity(), 5, 1},
                                         StepCase{100, 0, 100}));

TEST(AutoRange, BarsReachZeroAndLinesSpanTheirValues)
{
    EXPECT_EQ(autoRange({300, 700}, true), (ValueRange{0, 700}));
    EXPECT_EQ(autoRange({-20, 50}, true), (ValueRange{-20, 50}));
    EXPECT_EQ(autoRange({231, 334}, false), (ValueRange{231, 334}));
}

TEST(AutoRange, OpensFlatOrEmptyRanges)
{
    EXPECT_EQ(autoRange({}, false), (ValueRange{0, 1}));
    EXPECT_EQ(autoRange({0, 0}, true), (ValueRange{0, 1}));
    const ValueRange flat = autoRange({100, 100}, false);
    EXPECT_LT(flat.lo, 100);
    EXPECT_GT(flat.hi, 100);
    EXPECT_DOUBLE_EQ(autoRange({std::numeric_limits<double>::quiet_NaN(), 5}, false).hi, 5.5);
}

TEST(WidenForPixels, PutsTheEndsThePaddingInsideTheAxis)
{
    const ValueRange r = widenForPixels({0, 100}, 200, 10, 40);
    const ScaleMap map(r, 200, 0); // grows upwards
    EXPECT_NEAR(map.toPixel(0), 190, 1e-9);
    EXPECT_NEAR(map.toPixel(100), 40, 1e-9);
}

TEST(WidenForPixels, NeverLetsThePaddingTakeMoreThanHalfTheAxis)
{
    const ValueRange r = widenForPixels({0, 100}, 50, 100, 100);
    const ScaleMap map(r, 50, 0);
    EXPECT_NEAR(map.toPixel(0) - map.toPixel(100), 25, 1e-9);
}

TEST(Ticks, MajorsAreMultiplesOfTheStepInsideTheRange)
{
    EXPECT_EQ(majorTicks({0, 930}, 200), (std::vector<double>{0, 200, 400, 600, 800}));
    EXPECT_EQ(majorTicks({-0.4, 1.1}, 0.5), (std::vector<double>{0, 0.5, 1}));
    EXPECT_TRUE(majorTicks({0, 1}, 0).empty());
    EXPECT_LE(majorTicks({0, 1e12}, 1).size(), 1000u);
}

TEST(Ticks, ThreeMinorsSplitEachStepIntoQuarters)
{
    const auto minors = minorTicks({0, 200}, 100, 3);
    EXPECT_EQ(minors, (std::vector<double>{25, 50, 75, 125, 150, 175}));
    const auto edges = minorTicks({10, 90}, 100, 3);
    EXPECT_EQ(edges, (std::vector<double>{25, 50, 75}));
}

TEST(ScaleMap, MapsOntoAnUpwardAxis)
{
    const ScaleMap map({0, 500}, 300, 50);
    EXPECT_DOUBLE_EQ(map.toPixel(0), 300);
    EXPECT_DOUBLE_EQ(map.toPixel(500), 50);
    EXPECT_DOUBLE_EQ(map.toPixel(250), 175);
    EXPECT_DOUBLE_EQ(map.pixelsPerUnit(), -0.5);
    EXPECT_DOUBLE_EQ(ScaleMap({3, 3}, 10, 20).toPixel(99), 10); // flat range stays put
}

TEST(Oblique, DepthRecedesUpAndRightAtFortyFiveDegrees)
{
    const Oblique project(45);
    const QPointF p = project(100, 200, 10);
    EXPECT_NEAR(p.x(), 100 + 10 * std::sqrt(0.5), 1e-9);
    EXPECT_NEAR(p.y(), 200 - 10 * std::sqrt(0.5), 1e-9);
    EXPECT_NEAR(project(QPointF(5, 5), 0).x(), 5, 1e-12);
}
