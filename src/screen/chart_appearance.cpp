#include "screen/chart_appearance.h"

#include "chart/colors.h"


namespace kvet {
namespace {

using namespace chart;

// The sample columns' point colours, 0x00BBGGRR as the system gives them.
const QColor kWhite = colorFromBgr(0x00FFFFFF);
const QColor kSampleYellow = colorFromBgr(0x0005F3FC); // RGB FCF305

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

ChartLook paymentChannelsLook()
{
    return {pieChart(), QStringLiteral("缴费渠道占比"), {{QStringLiteral("PieSeries1"), pieSeries(true), {}}}};
}

ChartLook waterUseCategoriesLook()
{
    return {pieChart(), QStringLiteral("用水类别占比"), {{QStringLiteral("Series5"), pieSeries(false), {}}}};
}

ChartLook readingStatusLook()
{
    return {pieChart(), QStringLiteral("抄录比例"), {{QStringLiteral("PieSeries2"), pieSeries(false), {}}}};
}

ChartLook yearlyChargesLook()
{
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
    return {s, QStringLiteral("月度收费情况"), {{QStringLiteral("Series3"), lineSeries(), {}}}};
}

ChartLook dailyWorkloadLook()
{
    ChartStyle s = barChart(18);
    s.antialiased = false;
    s.leftAxis = axis(colors::kTitleYellow);
    s.bottomAxis = axis(colors::kTextYellow);
    return {s, QStringLiteral("日抄表工作量"), {{QStringLiteral("Series2"), barSeries(), {}}}};
}

ChartLook feeRecoveryLook()
{
    ChartStyle s = barChart(15);
    s.leftAxis = axis(colors::kTitleYellow);
    s.bottomAxis = axis(colors::kTitleYellow);
    s.labelSeries = 0; // the collected (lower) series names the months
    SeriesLook lower{QStringLiteral("Series4"), cylinderSeries(false), {}};
    SeriesLook upper{QStringLiteral("Series6"), cylinderSeries(true), {}};
    const struct { const char* label; double collected, unpaid; } samples[] = {
        {"202201", 300, 10}, {"202202", 350, 20},  {"202203", 460, 50},
        {"202204", 500, 200}, {"202205", 640, 300}, {"202206", 700, 500},
    };
    for (const auto& sample : samples) {
        lower.samples.push_back({sample.collected, QString::fromLatin1(sample.label), kWhite});
        upper.samples.push_back({sample.unpaid, QString::fromLatin1(sample.label), kSampleYellow});
    }
    return {s, QStringLiteral("水费回收情况"), {lower, upper}};
}

std::unique_ptr<ChartWidget> makeChartWidget(const QString& name, const ChartLook& look, double dpiScale,
                                             QWidget* parent)
{
    auto widget = std::make_unique<ChartWidget>(name, dpiScale, parent);
    Chart& model = widget->model();
    model.setStyle(look.style);
    model.setTitle(look.title);
    for (const SeriesLook& s : look.series) {
        Series& series = model.addSeries(s.name, s.style);
        for (const ChartPoint& p : s.samples)
            series.add(p.value, p.label, p.color);
    }
    return widget;
}

} // namespace kvet
