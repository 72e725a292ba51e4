#include "chart/pie_math.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace kvet::chart;

TEST(SliceAngles, SpanShareOfTheMagnitudesCounterClockwiseFromTheRotation)
{
    const auto slices = sliceAngles({1, 1, 2}, 0);
    ASSERT_EQ(slices.size(), 3u);
    EXPECT_EQ(slices[0], (SliceAngle{0, 90}));
    EXPECT_EQ(slices[1], (SliceAngle{90, 90}));
    EXPECT_EQ(slices[2], (SliceAngle{180, 180}));

    const auto turned = sliceAngles({1, 3}, 87);
    EXPECT_DOUBLE_EQ(turned[0].start, 87);
    EXPECT_DOUBLE_EQ(turned[1].start, 177);
    EXPECT_DOUBLE_EQ(turned[1].span, 270);
}

TEST(SliceAngles, StartsWrapIntoOneTurn)
{
    const auto slices = sliceAngles({1, 1}, 300);
    EXPECT_DOUBLE_EQ(slices[0].start, 300);
    EXPECT_DOUBLE_EQ(slices[1].start, 120);
}

TEST(SliceAngles, NegativeValuesCountByMagnitudeAndBadValuesAsNothing)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const auto slices = sliceAngles({-1, 3, nan, std::numeric_limits<double>::infinity()}, 0);
    EXPECT_DOUBLE_EQ(slices[0].span, 90);
    EXPECT_DOUBLE_EQ(slices[1].span, 270);
    EXPECT_DOUBLE_EQ(slices[2].span, 0);
    EXPECT_DOUBLE_EQ(slices[3].span, 0);

    for (const SliceAngle& s : sliceAngles({0, 0}, 0))
        EXPECT_EQ(s.span, 0);
}

TEST(PointOnEllipse, FollowsTheScreenCounterClockwise)
{
    const QRectF r(10, 20, 200, 100); // centre (110, 70)
    const QPointF east = pointOnEllipse(r, 0), north = pointOnEllipse(r, 90), west = pointOnEllipse(r, 180);
    EXPECT_NEAR(east.x(), 210, 1e-9);
    EXPECT_NEAR(east.y(), 70, 1e-9);
    EXPECT_NEAR(north.x(), 110, 1e-9);
    EXPECT_NEAR(north.y(), 20, 1e-9);
    EXPECT_NEAR(west.x(), 10, 1e-9);
    const QPointF p = pointOnEllipse(r, 315);
    EXPECT_NEAR(p.x(), 110 + 100 * std::sqrt(0.5), 1e-9);
    EXPECT_NEAR(p.y(), 70 + 50 * std::sqrt(0.5), 1e-9);
}

TEST(TiltedPie, IsACircleSeenFromFortyFiveDegreesWithItsRimBelow)
{
    const QRectF area(0, 0, 600, 300);
    const PieFrame pie = tiltedPie(area, 45, 15, QPointF(3, 3));
    const double r = pie.radius();
    EXPECT_NEAR(pie.top.height(), 2 * r * std::cos(M_PI / 4), 1e-9);
    EXPECT_NEAR(pie.rim, 0.15 * 2 * r * std::sin(M_PI / 4), 1e-9);
    // Height is the tighter side here: top face, rim and shadow fill it.
    EXPECT_NEAR(pie.top.height() + pie.rim + 3, 300, 1e-6);
    EXPECT_TRUE(area.contains(pie.top.adjusted(0, 0, 0, pie.rim)));
    EXPECT_NEAR(pie.top.center().x(), area.center().x(), 1e-9);
}

TEST(TiltedPie, NarrowAreaLimitsTheRadiusByWidth)
{
    const PieFrame pie = tiltedPie(QRectF(0, 0, 100, 400), 45, 15, QPointF(-3, -3));
    EXPECT_NEAR(pie.top.width(), 97, 1e-9);
    EXPECT_GE(tiltedPie(QRectF(0, 0, 0, 0), 45, 15, {3, 3}).radius(), 0);
}

struct FrontCase {
    SliceAngle slice;
    std::vector<std::pair<double, double>> arcs;
};

class FrontArcs : public ::testing::TestWithParam<FrontCase> {};

TEST_P(FrontArcs, AreThePartsBetween180And360)
{
    EXPECT_EQ(frontArcs(GetParam().slice), GetParam().arcs);
}

INSTANTIATE_TEST_SUITE_P(Slices, FrontArcs,
                         ::testing::Values(FrontCase{{10, 90}, {}}, FrontCase{{150, 90}, {{180, 240}}},
                                         FrontCase{{200, 100}, {{200, 300}}}, FrontCase{{300, 120}, {{300, 360}}},
                                         FrontCase{{350, 200}, {{350, 360}, {540, 550}}},
                                         FrontCase{{0, 360}, {{180, 360}}}));

TEST(BackToFront, PaintsTheBackSliceFirstAndTheFrontSliceLast)
{
    // Middles at 45, 135, 225, 315 and one centred on 90 and one on 270.
    const std::vector<SliceAngle> slices{{0, 90}, {60, 60}, {240, 60}, {90, 90}, {180, 90}, {270, 90}};
    const auto order = backToFrontOrder(slices);
    ASSERT_EQ(order.size(), slices.size());
    EXPECT_EQ(order.front(), 1u);
    EXPECT_EQ(order.back(), 2u);
}

TEST(MarkAnchor, LiesAtHalfTheRadiusOnTheMiddleAngle)
{
    PieFrame pie;
    pie.top = QRectF(0, 0, 200, 100);
    const QPointF a = markAnchor(pie, SliceAngle{0, 180}); // middle 90
    EXPECT_NEAR(a.x(), 100, 1e-9);
    EXPECT_NEAR(a.y(), 25, 1e-9);
}
