// Geometry of the pieces the painters draw: marks, legend, title, cylinders.
#include "chart/chart_geometry.h"
#include "chart/legend_geometry.h"
#include "chart/mark_geometry.h"
#include "chart/panel_layout.h"
#include "chart/series_geometry.h"
#include "chart_test_support.h"

#include <QFontMetricsF>
#include <cmath>
#include <limits>

using namespace kvet::chart;

class ChartGeometryTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { test::useDashboardFonts(); }
};

TEST_F(ChartGeometryTest, TurnedMarkRestsItsLowestCornerTheGivenDistanceAbovePoint)
{
    for (double angle : {0.0, 49.0, 90.0}) {
        MarkStyle style;
        style.angle = angle;
        MarkGeometry mark = makeMark(style, chartFont(style.font, 1.0), {QStringLiteral("1,234")});
        placeAbove(mark, QPointF(100, 300), 20);
        EXPECT_NEAR(mark.bounds().bottom(), 280, 1e-6) << angle;
        EXPECT_NEAR(mark.bounds().center().x(), 100, 1e-6) << angle;
        EXPECT_NEAR(mark.connectorEnd().y(), 280, 1e-6) << angle;
    }
}

TEST_F(ChartGeometryTest, MarkBoxHoldsAllItsLines)
{
    MarkStyle style;
    const QFont font = chartFont(style.font, 1.0);
    const MarkGeometry one = makeMark(style, font, {QStringLiteral("柜台")});
    const MarkGeometry two = makeMark(style, font, {QStringLiteral("柜台"), QStringLiteral("27.6 %")});
    EXPECT_GE(two.size.height(), 2 * QFontMetricsF(font).height());
    EXPECT_GT(two.size.height(), one.size.height());
    EXPECT_GE(two.size.width(), QFontMetricsF(font).horizontalAdvance(QStringLiteral("27.6 %")));
}

TEST_F(ChartGeometryTest, LabelsBreakAtCarriageReturns)
{
    EXPECT_EQ(splitLines(QStringLiteral("未交\r03月")), (QStringList{"未交", "03月"}));
    EXPECT_EQ(splitLines(QStringLiteral("a\r\nb\nc")), (QStringList{"a", "b", "c"}));
    EXPECT_EQ(splitLines(QStringLiteral("03月")), QStringList{"03月"});
}

TEST_F(ChartGeometryTest, LegendStaysInsideTheChartWithManyOrLongRows)
{
    LegendStyle style;
    style.visible = true;
    const QRectF inner(14, 40, 427, 206); // a 455 x 256 chart
    std::vector<LegendEntry> entries;
    for (int i = 0; i < 40; ++i)
        entries.push_back({Qt::red, QStringLiteral("12,345"), {QStringLiteral("一个很长很长很长的用水类别名称%1").arg(i)}});
    const auto legend = layoutLegend(style, entries, inner, 1.0, true);
    ASSERT_TRUE(legend);
    EXPECT_TRUE(inner.contains(legend->box.adjusted(0, 0, style.shadowOffset, 0)));
    EXPECT_LE(legend->box.width(), inner.width() * 0.5);
    EXPECT_FALSE(legend->rows.empty());
    EXPECT_LT(legend->rows.size(), entries.size());
    for (const LegendRow& row : legend->rows) {
        EXPECT_TRUE(legend->box.contains(row.square));
        EXPECT_LE(row.label.rect.right(), legend->box.right());
        EXPECT_LE(QFontMetricsF(row.label.font).horizontalAdvance(row.label.lines.first()), row.label.rect.width() + 1);
    }
    EXPECT_FALSE(layoutLegend(style, {}, inner, 1.0, true));
}

TEST_F(ChartGeometryTest, TooLongTitleShrinksInsteadOfBeingCut)
{
    ChartStyle style;
    const QString title = QStringLiteral("2024年度水费回收情况(单位:万元)2024年度水费回收情况(单位:万元)");
    const PanelLayout layout = layoutPanel(style, {title}, QSizeF(455, 256), 1.0);
    ASSERT_EQ(layout.title.size(), 1u);
    const QFont& font = layout.title.front().font;
    EXPECT_LT(font.pixelSize(), 25);
    EXPECT_LE(QFontMetricsF(font).horizontalAdvance(title), 455);
    EXPECT_GT(layout.inner.top(), layout.title.front().rect.bottom());

    const PanelLayout fits = layoutPanel(style, {QStringLiteral("抄录比例")}, QSizeF(455, 256), 1.0);
    EXPECT_EQ(fits.title.front().font.pixelSize(), 25);
    EXPECT_EQ(layoutPanel(style, {QStringLiteral("抄录比例")}, QSizeF(910, 512), 2.0).title.front().font.pixelSize(), 50);
}

TEST_F(ChartGeometryTest, CornerSquaresAndTheOutsideAreNotClear)
{
    const QSizeF size(640, 360);
    EXPECT_TRUE(clearOfCorners(QRectF(100, 10, 400, 30), size, 25));
    EXPECT_TRUE(clearOfCorners(QRectF(10, 40, 30, 280), size, 25));
    EXPECT_TRUE(clearOfCorners(QRectF(19, 320, 20, 16), size, 25));   // inside the bottom-left arc
    EXPECT_FALSE(clearOfCorners(QRectF(5, 5, 30, 30), size, 25));     // across the top-left arc
    EXPECT_TRUE(clearOfCorners(QRectF(600, 330, 10, 10), size, 25));  // left of the bottom-right arc
    EXPECT_FALSE(clearOfCorners(QRectF(620, 340, 15, 15), size, 25)); // across the bottom-right arc
    EXPECT_FALSE(clearOfCorners(QRectF(300, -20, 10, 10), size, 25)); // above the panel
    EXPECT_FALSE(clearOfCorners(QRectF(0, 0, std::numeric_limits<double>::infinity(), 1), size, 25));
}

TEST_F(ChartGeometryTest, CylinderMantleMeetsItsCapAtTheOutline)
{
    for (double rz : {5.0, 20.0, 40.0}) {
        CylinderShape shape;
        shape.x = 100;
        shape.zc = 20;
        shape.rx = 20;
        shape.rz = rz;
        shape.yTop = 50;
        shape.yBottom = 200;
        BarStyle style;
        style.shadedSides = true;
        const CylinderGeometry g = cylinderGeometry(shape, 45, 128, Qt::white, style);
        EXPECT_EQ(g.cap.size(), 128);
        const QRectF cap = g.cap.boundingRect(), side = g.side.boundingRect();
        EXPECT_NEAR(side.left(), cap.left(), 0.05) << rz;
        EXPECT_NEAR(side.right(), cap.right(), 0.05) << rz;
        EXPECT_TRUE(g.side.containsPoint(g.litLine.center(), Qt::OddEvenFill)) << rz;
    }
}
