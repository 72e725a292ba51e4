#include "chart/chart_model.h"
#include "screen/dashboard_chart.h"

#include <gtest/gtest.h>
#include <stdexcept>

using namespace kvet;
using namespace kvet::chart;

namespace {

// What the window relies on for every chart: its name, one initial title
// line, at least one series; pies with a legend and no axes, the others the
// other way round.
TEST(DashboardChart, IsBuiltWithItsNameTitleSeriesAndStyle)
{
    for (int number = 1; number <= 6; ++number) {
        SCOPED_TRACE(number);
        const auto widget = makeDashboardChart(number, 1.0, nullptr);
        ASSERT_TRUE(widget);
        EXPECT_EQ(widget->objectName(), QStringLiteral("Chart%1").arg(number));
        EXPECT_EQ(widget->model().name(), widget->objectName());
        ASSERT_EQ(widget->model().titleLines().size(), 1);
        EXPECT_FALSE(widget->model().titleLines().front().isEmpty());
        EXPECT_GE(widget->model().seriesCount(), 1u);
        const bool pie = number == 1 || number == 5 || number == 6;
        EXPECT_EQ(widget->model().style().view.kind == ViewKind::Pie3D, pie);
        EXPECT_EQ(widget->model().style().legend.visible, pie);
        EXPECT_EQ(widget->model().style().axes, !pie);
        // Only Chart3 is drawn without smoothing.
        EXPECT_EQ(widget->model().style().antialiased, number != 3);
    }
}

TEST(DashboardChartSamples, RecoveryChartStartsWithSixStackedSampleColumns)
{
    const auto widget = makeDashboardChart(4, 1.0, nullptr);
    const Chart& model = widget->model();
    const double lower[] = {300, 350, 460, 500, 640, 700};
    const double upper[] = {10, 20, 50, 200, 300, 500};
    ASSERT_EQ(model.series(0).points().size(), 6u);
    ASSERT_EQ(model.series(1).points().size(), 6u);
    for (std::size_t i = 0; i < 6; ++i) {
        const QString label = QStringLiteral("20220%1").arg(i + 1);
        EXPECT_EQ(model.series(0).points()[i], (ChartPoint{lower[i], label, QColor(0xFF, 0xFF, 0xFF)}));
        EXPECT_EQ(model.series(1).points()[i], (ChartPoint{upper[i], label, QColor(0xFC, 0xF3, 0x05)}));
    }
    EXPECT_TRUE(model.series(1).style().bar.stacked);
    EXPECT_EQ(model.style().labelSeries, 0);

    for (int other : {1, 2, 3, 5, 6})
        for (std::size_t s = 0; s < makeDashboardChart(other, 1.0, nullptr)->model().seriesCount(); ++s)
            EXPECT_TRUE(makeDashboardChart(other, 1.0, nullptr)->model().series(s).points().empty());
}

TEST(DashboardChartSamples, OnlyTheFirstPieIsTurnedAndBevelled)
{
    const auto first = makeDashboardChart(1, 1.0, nullptr);
    const PieStyle& turned = first->model().series(0).style().pie;
    EXPECT_EQ(turned.rotation, 87);
    EXPECT_EQ(turned.bevelPercent, 14);
    EXPECT_EQ(turned.shadowOffset, QPointF(-3, -3));
    for (int n : {5, 6}) {
        const PieStyle plain = makeDashboardChart(n, 1.0, nullptr)->model().series(0).style().pie;
        EXPECT_EQ(plain.rotation, 0);
        EXPECT_EQ(plain.bevelPercent, 0);
        EXPECT_EQ(plain.shadowOffset, QPointF(3, 3));
    }
}

TEST(DashboardChartSamples, UnknownChartNumberIsRefused)
{
    EXPECT_THROW(makeDashboardChart(0, 1.0, nullptr), std::out_of_range);
    EXPECT_THROW(makeDashboardChart(7, 1.0, nullptr), std::out_of_range);
}

} // namespace
