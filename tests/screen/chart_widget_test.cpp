#include "chart/chart_widget.h"
#include "chart/chart_test_support.h"
#include "screen/dashboard_chart.h"

#include <QApplication>
#include <QMouseEvent>

using namespace kvet;
using namespace kvet::chart;

namespace {

class DoubleClickCounter : public QWidget {
public:
    int doubleClicks = 0;

protected:
    void mouseDoubleClickEvent(QMouseEvent*) override { ++doubleClicks; }
};

class ChartWidgetTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { test::useDashboardFonts(); }
};

TEST_F(ChartWidgetTest, DoubleClickOnAChartNeverReachesTheWindow)
{
    DoubleClickCounter window;
    window.resize(700, 400);
    auto chart = makeDashboardChart(2, 1.0, &window);
    chart->setGeometry(10, 10, 640, 360);
    const QPointF at(100, 100);
    QMouseEvent dbl(QEvent::MouseButtonDblClick, at, chart->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
    QApplication::sendEvent(chart.get(), &dbl);
    EXPECT_EQ(window.doubleClicks, 0);

    // The window itself still gets its own double-clicks.
    QMouseEvent own(QEvent::MouseButtonDblClick, QPointF(695, 395), window.mapToGlobal(QPointF(695, 395)),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &own);
    EXPECT_EQ(window.doubleClicks, 1);
}

TEST_F(ChartWidgetTest, ModelChangesReachTheNextPaint)
{
    auto chart = makeDashboardChart(6, 1.0, nullptr);
    chart->resize(640, 360);
    EXPECT_FALSE(chart->chartGeometry().legend);
    chart->model().series(0).add(3, QStringLiteral("已录入"), kAutoColor);
    chart->model().series(0).add(1, QStringLiteral("未录入"), kAutoColor);
    ASSERT_TRUE(chart->chartGeometry().pie);
    EXPECT_EQ(chart->chartGeometry().pie->slices.size(), 2u);
    EXPECT_EQ(chart->chartGeometry().legend->rows.size(), 2u);
    chart->model().setTitle(QStringLiteral("抄录状态统计"));
    EXPECT_EQ(chart->chartGeometry().title.front().lines, QStringList{QStringLiteral("抄录状态统计")});
    chart->model().series(0).clear();
    EXPECT_FALSE(chart->chartGeometry().legend);
}

TEST_F(ChartWidgetTest, CornersFollowEveryResize)
{
    auto chart = makeDashboardChart(1, 1.0, nullptr);
    for (QSize size : {QSize(640, 360), QSize(455, 256), QSize(1280, 720)}) {
        chart->resize(size);
        const QImage image = chart->grab().toImage();
        ASSERT_EQ(image.size(), size);
        EXPECT_EQ(chart->chartGeometry().size, QSizeF(size));
        EXPECT_EQ(chart->chartGeometry().panel.boundingRect(), QRectF(QPointF(0, 0), QSizeF(size)));
        // Just inside each arc the chart is painted; the very corner is not the chart's azure.
        EXPECT_NE(image.pixelColor(0, 0), QColor(0x00, 0x80, 0xFF));
        EXPECT_EQ(image.pixelColor(size.width() - 11, size.height() - 11), QColor(0x00, 0x80, 0xFF));
    }
}

TEST_F(ChartWidgetTest, ScaleEnlargesTheFonts)
{
    auto chart = makeDashboardChart(3, 1.0, nullptr);
    chart->resize(1280, 720);
    const int normal = chart->chartGeometry().title.front().font.pixelSize();
    chart->setScale(2.0);
    EXPECT_EQ(chart->chartGeometry().title.front().font.pixelSize(), 2 * normal);
    chart->setScale(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(chart->scale(), 1.0);
}

} // namespace
