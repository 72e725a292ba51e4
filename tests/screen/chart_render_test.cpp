// Pixel probes on offscreen renders of the six dashboard charts. Every probe
// position comes from the chart's own computed geometry.
#include "chart/chart_renderer.h"
#include "chart/colors.h"
#include "chart/chart_test_support.h"
#include "screen/dashboard_chart.h"

#include <cmath>
#include <limits>

using namespace kvet;
using namespace kvet::chart;

namespace {

const QColor kAzure(0x00, 0x80, 0xFF);
const QColor kTitleYellow(0xFF, 0xFF, 0x80);

struct RenderCase {
    int chart;
    QSize size;
    bool filled; // realistic data, or as built (initial titles, Chart4's samples)
};

void PrintTo(const RenderCase& c, std::ostream* os)
{
    *os << "Chart" << c.chart << " " << c.size.width() << "x" << c.size.height() << (c.filled ? " filled" : " initial");
}

const QSize kLarge(640, 360), kSmall(455, 256);

// The four pixels just outside and just inside each corner arc (radius 25),
// on the corners' diagonals: 28 and 21 pixels from the arc's centre.
struct CornerProbe {
    QPoint outside, inside;
};
std::vector<CornerProbe> cornerProbes(QSize s)
{
    const int w = s.width(), h = s.height();
    return {{{5, 5}, {10, 10}},
            {{w - 6, 5}, {w - 11, 10}},
            {{5, h - 6}, {10, h - 11}},
            {{w - 6, h - 6}, {w - 11, h - 11}}};
}

class ChartTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { test::useDashboardFonts(); }

    static std::unique_ptr<ChartWidget> build(int number, bool filled)
    {
        auto widget = makeDashboardChart(number, 1.0, nullptr);
        if (filled)
            test::fillRealistic(widget->model(), number);
        return widget;
    }
    static ChartGeometry geometryOf(const Chart& chart, QSize size)
    {
        ChartRenderer renderer(chart);
        return renderer.prepare(QSizeF(size));
    }
};

class EveryChart : public ChartTest, public ::testing::WithParamInterface<RenderCase> {};

TEST_P(EveryChart, CornersStayEmptyOutsideTheArcAndAzureInside)
{
    const RenderCase& c = GetParam();
    const auto widget = build(c.chart, c.filled);
    const QImage image = widget->renderToImage(c.size);
    ASSERT_EQ(image.size(), c.size);
    EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0);
    EXPECT_EQ(image.pixelColor(c.size.width() - 1, c.size.height() - 1).alpha(), 0);
    for (const CornerProbe& p : cornerProbes(c.size)) {
        EXPECT_EQ(image.pixelColor(p.outside).alpha(), 0) << p.outside.x() << "," << p.outside.y();
        const QColor inside = image.pixelColor(p.inside);
        EXPECT_EQ(inside.alpha(), 255);
        EXPECT_LE(test::colorDistance(inside, kAzure), 4) << inside.name().toStdString();
    }
}

TEST_P(EveryChart, TitleIsDrawnInTitleYellow)
{
    const RenderCase& c = GetParam();
    const auto widget = build(c.chart, c.filled);
    const QImage image = widget->renderToImage(c.size);
    const ChartGeometry g = geometryOf(widget->model(), c.size);
    ASSERT_EQ(g.title.size(), 1u);
    const QRect area = g.title.front().rect.toAlignedRect().intersected(image.rect());
    int yellow = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            yellow += test::colorDistance(image.pixelColor(x, y), kTitleYellow) <= 2;
    EXPECT_GT(yellow, 50);
}

TEST_P(EveryChart, NothingIsDrawnOutsideTheChartAndTheScreenShowsInTheCorners)
{
    const RenderCase& c = GetParam();
    const QColor screenBlue(0x00, 0x60, 0xE1);
    QWidget screen;
    screen.resize(c.size + QSize(40, 40));
    QPalette palette = screen.palette();
    palette.setColor(QPalette::Window, screenBlue);
    screen.setPalette(palette);
    screen.setAutoFillBackground(true);
    auto widget = build(c.chart, c.filled);
    widget->setParent(&screen);
    widget->setGeometry(QRect(QPoint(20, 20), c.size));
    const QImage image = screen.grab().toImage();
    const QRect chartRect(QPoint(20, 20), c.size);
    int strays = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!chartRect.contains(x, y))
                strays += image.pixelColor(x, y) != screenBlue;
    EXPECT_EQ(strays, 0);
    for (const CornerProbe& p : cornerProbes(c.size)) {
        EXPECT_EQ(image.pixelColor(p.outside + QPoint(20, 20)), screenBlue);
        EXPECT_LE(test::colorDistance(image.pixelColor(p.inside + QPoint(20, 20)), kAzure), 4);
    }
}

TEST_P(EveryChart, EverydayDataStaysClearOfTheCornersSoNoClipIsNeeded)
{
    const RenderCase& c = GetParam();
    const auto widget = build(c.chart, c.filled);
    EXPECT_FALSE(geometryOf(widget->model(), c.size).clipToPanel);
}

TEST_P(EveryChart, HostileValuesDrawWithoutHarm)
{
    const RenderCase& c = GetParam();
    auto widget = build(c.chart, false);
    Chart& model = widget->model();
    const double values[] = {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity(), -5, 0, 1.7e308, 1e-300, 1.7e308};
    for (std::size_t s = 0; s < model.seriesCount(); ++s) {
        model.series(s).clear();
        for (double v : values)
            model.series(s).add(v, QStringLiteral("x\r\ry"), kAutoColor);
    }
    model.setTitle(QString());
    const QImage image = widget->renderToImage(c.size);
    ASSERT_FALSE(image.isNull());
    for (const CornerProbe& p : cornerProbes(c.size))
        EXPECT_EQ(image.pixelColor(p.outside).alpha(), 0);
    EXPECT_TRUE(widget->renderToImage(QSize(0, 0)).isNull());
    EXPECT_FALSE(widget->renderToImage(QSize(30, 20)).isNull());
}

std::vector<RenderCase> everyChartCase()
{
    std::vector<RenderCase> cases;
    for (int n = 1; n <= 6; ++n)
        for (QSize s : {kLarge, kSmall})
            for (bool filled : {false, true})
                cases.push_back({n, s, filled});
    return cases;
}
INSTANTIATE_TEST_SUITE_P(Dashboard, EveryChart, ::testing::ValuesIn(everyChartCase()));

// ---- pies -----------------------------------------------------------------

// A point well inside slice `i`, clear of every mark box, or nothing.
std::optional<QPointF> sliceProbe(const ChartGeometry& g, std::size_t i)
{
    const SliceGeometry& s = g.pie->slices[i];
    if (s.angle.span < 15)
        return std::nullopt;
    // Inside the bevel (14 % of the radius) where there is one.
    const double outer = g.pie->style.bevelPercent > 0 ? 0.82 : 0.92;
    for (double r : {outer, 0.78, 0.7, 0.62, 0.4}) {
        for (double a : {s.angle.middle(), s.angle.start + s.angle.span / 4, s.angle.start + s.angle.span * 3 / 4}) {
            const QPointF p = pointOnEllipse(g.pie->frame.scaled(r), a);
            bool clear = true;
            for (const MarkGeometry& m : g.marks)
                clear = clear && !m.bounds().adjusted(-4, -4, 8, 8).contains(p);
            if (clear)
                return p;
        }
    }
    return std::nullopt;
}

class Pie : public ChartTest, public ::testing::WithParamInterface<RenderCase> {};

TEST_P(Pie, EverySliceShowsItsPaletteColour)
{
    const RenderCase& c = GetParam();
    auto widget = build(c.chart, false);
    Series& series = widget->model().series(0);
    for (int v : {6, 5, 4, 3, 2, 1})
        series.add(v, QStringLiteral("类别%1").arg(v), kAutoColor);
    const QImage image = widget->renderToImage(c.size);
    const ChartGeometry g = geometryOf(widget->model(), c.size);
    ASSERT_TRUE(g.pie);
    int probed = 0;
    for (std::size_t i = 0; i < g.pie->slices.size(); ++i) {
        const auto at = sliceProbe(g, i);
        if (!at)
            continue;
        ++probed;
        const QColor seen = test::pixelAt(image, *at);
        EXPECT_LE(test::colorDistance(seen, slicePalette()[i]), 2)
            << "slice " << i << " shows " << seen.name().toStdString();
    }
    EXPECT_GE(probed, 5);
}

TEST_P(Pie, ThirteenthSliceRepeatsTheFirstColour)
{
    const RenderCase& c = GetParam();
    auto widget = build(c.chart, false);
    for (int i = 0; i < 13; ++i)
        widget->model().series(0).add(10, QString::number(i), kAutoColor);
    const QImage image = widget->renderToImage(c.size);
    const ChartGeometry g = geometryOf(widget->model(), c.size);
    const auto first = sliceProbe(g, 0), thirteenth = sliceProbe(g, 12);
    ASSERT_TRUE(first && thirteenth);
    EXPECT_LE(test::colorDistance(test::pixelAt(image, *thirteenth), slicePalette()[0]), 2);
    EXPECT_LE(test::colorDistance(test::pixelAt(image, *first), slicePalette()[0]), 2);
}

TEST_P(Pie, OneSliceIsAFullDiscInTheFirstColourAtOneHundredPercent)
{
    const RenderCase& c = GetParam();
    auto widget = build(c.chart, false);
    widget->model().series(0).add(42, QStringLiteral("已录入"), kAutoColor);
    const QImage image = widget->renderToImage(c.size);
    const ChartGeometry g = geometryOf(widget->model(), c.size);
    ASSERT_EQ(g.marks.size(), 1u);
    EXPECT_EQ(g.marks.front().lines, (QStringList{QStringLiteral("已录入"), QStringLiteral("100 %")}));
    for (double a = 0; a < 360; a += 30) {
        const QPointF p = pointOnEllipse(g.pie->frame.scaled(0.8), a);
        EXPECT_LE(test::colorDistance(test::pixelAt(image, p), QColor(0x44, 0x66, 0xA3)), 2) << a;
    }
}

std::vector<RenderCase> pieCases()
{
    std::vector<RenderCase> cases;
    for (int n : {1, 5, 6})
        for (QSize s : {kLarge, kSmall})
            cases.push_back({n, s, false});
    return cases;
}
INSTANTIATE_TEST_SUITE_P(Pies, Pie, ::testing::ValuesIn(pieCases()));

// ---- bars, columns and the line ---------------------------------------------

class SizedChart : public ChartTest, public ::testing::WithParamInterface<QSize> {};

TEST_P(SizedChart, SampleColumnsOfTheRecoveryChartShowWhiteAndYellow)
{
    const auto widget = build(4, false);
    const QImage image = widget->renderToImage(GetParam());
    const ChartGeometry g = geometryOf(widget->model(), GetParam());
    ASSERT_EQ(g.cylinders.size(), 12u);
    auto clearOfMarks = [&](QPointF p) {
        for (const MarkGeometry& m : g.marks)
            if (m.bounds().adjusted(-4, -4, 8, 8).contains(p))
                return false;
        return true;
    };
    // A point on the column's lit line, below its cap and clear of every mark.
    auto probeOf = [&](const CylinderGeometry& cyl) -> std::optional<QPointF> {
        const QLineF& line = cyl.litLine;
        const double capDrop = cyl.cap.boundingRect().height();
        for (double y = line.p1().y() + capDrop; y < line.p2().y() - 2; y += 1.0) {
            const QPointF p(line.p1().x(), y);
            if (clearOfMarks(p))
                return p;
        }
        return std::nullopt;
    };
    // A short column may be all mark at the small size.
    int lowerProbed = 0;
    for (std::size_t i = 0; i < 6; ++i) {
        const auto p = probeOf(g.cylinders[i]);
        if (!p)
            continue;
        ++lowerProbed;
        EXPECT_LE(test::colorDistance(test::pixelAt(image, *p), Qt::white), 6) << "lower column " << i;
    }
    EXPECT_GE(lowerProbed, 4);
    // The upper parts are 15 % transparent: #FCF305 at 85 % over whatever lies behind.
    int probed = 0;
    for (std::size_t i = 6; i < 12; ++i) {
        const auto p = probeOf(g.cylinders[i]);
        if (!p)
            continue;
        ++probed;
        const QColor seen = test::pixelAt(image, *p);
        const QColor yellow(0xFC, 0xF3, 0x05);
        for (auto [s, y] : {std::pair{seen.red(), yellow.red()}, {seen.green(), yellow.green()}, {seen.blue(), yellow.blue()}}) {
            EXPECT_GE(s, 0.85 * y - 3) << "upper column " << i << " " << seen.name().toStdString();
            EXPECT_LE(s, 0.85 * y + 0.15 * 255 + 3) << "upper column " << i << " " << seen.name().toStdString();
        }
    }
    EXPECT_GE(probed, 2);
}

TEST_P(SizedChart, DailyBarsGrowWithTheirValues)
{
    auto widget = build(3, false);
    for (int v : {100, 200, 300, 400})
        widget->model().series(0).add(v, QStringLiteral("%1日").arg(v / 100), QColor(0xFF, 0x82, 0x00));
    const QImage image = widget->renderToImage(GetParam());
    const ChartGeometry g = geometryOf(widget->model(), GetParam());
    ASSERT_EQ(g.bars.size(), 4u);
    const QColor orange(0xFF, 0x82, 0x00);
    int previous = 0;
    for (const BoxGeometry& bar : g.bars) {
        const QRectF front = bar.front.boundingRect();
        const int x = int(front.center().x());
        // The column shows the front face and, above it, the top face.
        const double shown = bar.front.united(bar.top).boundingRect().height();
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            count += image.pixelColor(x, y) == orange;
        EXPECT_GT(count, previous);
        EXPECT_NEAR(count, shown, 4); // less the black outlines
        previous = count;
    }
}

TEST_P(SizedChart, LineMarkersShowThePointColourAndStayInsideThePlot)
{
    auto widget = build(2, true);
    const QImage image = widget->renderToImage(GetParam());
    const ChartGeometry g = geometryOf(widget->model(), GetParam());
    ASSERT_EQ(g.lines.size(), 1u);
    ASSERT_TRUE(g.axes);
    for (const QPointF& p : g.lines.front().points) {
        EXPECT_LE(test::colorDistance(test::pixelAt(image, p), QColor(0xFF, 0xFF, 0x00)), 2);
        EXPECT_TRUE(g.axes->front.adjusted(5, 5, -5, -5).contains(p));
    }
    for (const MarkGeometry& m : g.marks)
        EXPECT_TRUE(g.axes->front.contains(m.bounds()));
}

INSTANTIATE_TEST_SUITE_P(Sizes, SizedChart, ::testing::Values(kLarge, kSmall));

} // namespace
