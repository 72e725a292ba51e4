#include "screen/chart_appearance.h"

#include <stdexcept>

namespace kvet {
namespace {

using namespace chart;

constexpr ColorRef kWhite = 0x00FFFFFF;
constexpr ColorRef kSampleYellow = 0x0005F3FC; // RGB FCF305

const QColor kGradientOuter{0x00, 0x7D, 0xFB};

AxisStyle axis(const QColor& labelColor)
{
    AxisStyle a;
    a.labels = {kDefaultFace, 13.0, labelColor};
    return a;
}

ChartStyle pieChart()
{
    ChartStyle s;
    s.view = {ViewKind::Pie3D, 15, 315, 45};
    s.legend.visible = true;
    return s;
}

ChartStyle barChart(double depthPercent)
{
    ChartStyle s;
    s.view = {ViewKind::Oblique3D, depthPercent, 315, 45};
    s.margins.bottom = 0;
    s.margins.right = 6;
    s.axes = true;
    s.walls.visible = true;
    return s;
}

SeriesStyle pieSeries(bool first)
{
    SeriesStyle s;
    s.kind = SeriesKind::Pie;
    if (first) {
        s.pie.rotation = 87;
        s.pie.bevelPercent = 14;
        s.pie.shadowOffset = {-3, -3};
    }
    s.marks.content = MarkContent::LabelAndPercent;
    s.marks.place = MarkPlace::HalfRadius;
    return s;
}

SeriesStyle lineSeries()
{
    SeriesStyle s;
    s.kind = SeriesKind::Line;
    s.marks.content = MarkContent::Value;
    s.marks.place = MarkPlace::Above;
    s.marks.connector = true;
    return s;
}

SeriesStyle barSeries()
{
    SeriesStyle s;
    s.kind = SeriesKind::Bar3D;
    s.bar.widthPercent = 60;
    s.bar.depth = 8;
    s.marks.content = MarkContent::Value;
    s.marks.place = MarkPlace::Above;
    s.marks.frame = true;
    s.marks.shadow = MarkShadow::Hard;
    s.marks.angle = 49;
    return s;
}

SeriesStyle cylinderSeries(bool upper)
{
    SeriesStyle s;
    s.kind = SeriesKind::Cylinder;
    s.bar.widthPercent = 70;
    s.bar.depth = 0; // round
    s.bar.sides = 128;
    s.marks.content = MarkContent::Value;
    if (upper) {
        s.bar.stacked = true;
        s.bar.transparencyPercent = 15;
        s.marks.place = MarkPlace::Above;
        s.marks.shadow = MarkShadow::None;
        s.marks.connector = true;
    } else {
        s.bar.shadedSides = true;
        s.bar.outlineDarker = true;
        s.marks.place = MarkPlace::InsideTop;
    }
    return s;
}

} // namespace

ChartStyle dashboardChartStyle(int number)
{
    switch (number) {
    case 1:
    case 5:
    case 6:
        return pieChart();
    case 2: {
        ChartStyle s;
        s.background.radial = true;
        s.background.outerColor = kGradientOuter;
        s.background.balance = 0.55;
        s.margins.right = 8;
        s.axes = true;
        s.plotOutline = true;
        s.leftAxis = axis(colors::kTitleYellow);
        s.leftAxis.majorOuter = 2;
        s.leftAxis.majorInner = 2;
        s.leftAxis.minorLength = 4;
        s.bottomAxis = axis(colors::kTitleYellow);
        return s;
    }
    case 3: {
        ChartStyle s = barChart(18);
        s.antialiased = false;
        s.leftAxis = axis(colors::kTitleYellow);
        s.bottomAxis = axis(colors::kTextYellow);
        return s;
    }
    case 4: {
        ChartStyle s = barChart(15);
        s.leftAxis = axis(colors::kTitleYellow);
        s.bottomAxis = axis(colors::kTitleYellow);
        s.labelSeries = 0; // the collected (lower) series names the months
        return s;
    }
    default:
        throw std::out_of_range("no dashboard chart " + std::to_string(number));
    }
}

std::unique_ptr<ChartWidget> makeDashboardChart(int number, double dpiScale, QWidget* parent)
{
    const ChartStyle style = dashboardChartStyle(number); // throws first for a bad number
    auto widget = std::make_unique<ChartWidget>(QStringLiteral("Chart%1").arg(number), dpiScale, parent);
    Chart& model = widget->model();
    model.setStyle(style);
    switch (number) {
    case 1:
        model.setTitle(QStringLiteral("缴费渠道占比"));
        model.addSeries(QStringLiteral("PieSeries1"), pieSeries(true));
        break;
    case 2:
        model.setTitle(QStringLiteral("月度收费情况"));
        model.addSeries(QStringLiteral("Series3"), lineSeries());
        break;
    case 3:
        model.setTitle(QStringLiteral("日抄表工作量"));
        model.addSeries(QStringLiteral("Series2"), barSeries());
        break;
    case 4: {
        model.setTitle(QStringLiteral("水费回收情况"));
        Series& lower = model.addSeries(QStringLiteral("Series4"), cylinderSeries(false));
        Series& upper = model.addSeries(QStringLiteral("Series6"), cylinderSeries(true));
        const struct { const char* label; double collected, unpaid; } samples[] = {
            {"202201", 300, 10}, {"202202", 350, 20},  {"202203", 460, 50},
            {"202204", 500, 200}, {"202205", 640, 300}, {"202206", 700, 500},
        };
        for (const auto& s : samples) {
            lower.add(s.collected, QString::fromLatin1(s.label), kWhite);
            upper.add(s.unpaid, QString::fromLatin1(s.label), kSampleYellow);
        }
        break;
    }
    case 5:
        model.setTitle(QStringLiteral("用水类别占比"));
        model.addSeries(QStringLiteral("Series5"), pieSeries(false));
        break;
    case 6:
        model.setTitle(QStringLiteral("抄录比例"));
        model.addSeries(QStringLiteral("PieSeries2"), pieSeries(false));
        break;
    }
    return widget;
}

} // namespace kvet
