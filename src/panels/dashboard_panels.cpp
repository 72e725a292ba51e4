#include "panels/panel_table.h"

#include "panels/daily_workload.h"
#include "panels/fee_recovery.h"
#include "panels/recent_payments.h"
#include "panels/share_pies.h"
#include "panels/yearly_charges.h"

#include <stdexcept>

namespace kvet::panels {
namespace {

QString utf8(const char* text) { return QString::fromUtf8(text); }

ColumnRead integer(const char* column) { return {utf8(column), ReadAs::Integer}; }
ColumnRead text(const char* column) { return {utf8(column), ReadAs::Text}; }

QStringList columns(std::initializer_list<const char*> names)
{
    QStringList out;
    for (const char* name : names)
        out << utf8(name);
    return out;
}

// In the order of the first full refresh. The routines' numbers are the
// designer's buttons, not the charts': the charts sit in two rows of three,
// Chart1, Chart3, Chart5 on top, Chart2, Chart4, Chart6 below.
PanelTable makeTable()
{
    PanelTable t;
    t.push_back({utf8("近30天缴费渠道占比"), QStringLiteral("Chart1"), {0, 0}, paymentChannelsLook,
                 QStringLiteral("Button1Click"), QStringLiteral("ADOQuery1"), utf8(statements::kPaymentChannels),
                 ReportingView::Jfqd, {integer("hj"), text("ren")}, {}, columns({"hj", "ren"}), refreshViewPie});
    t.push_back({utf8("每日抄表工作量"), QStringLiteral("Chart3"), {1, 0}, dailyWorkloadLook,
                 QStringLiteral("Button2Click"), QStringLiteral("ADOQuery8"), utf8(statements::kDailyWorkload),
                 std::nullopt, {integer("hj"), {QStringLiteral("cbrq1"), ReadAs::DayOfMonth}}, {},
                 columns({"cbrq1", "hj"}), refreshDailyWorkload});
    // Titled with the year of its first row: "2026年度收费情况(单位:万元)".
    t.push_back({utf8("年度收费情况"), QStringLiteral("Chart2"), {0, 1}, yearlyChargesLook,
                 QStringLiteral("Button3Click"), QStringLiteral("ADOQuery3"), utf8(statements::kYearlyCharges),
                 ReportingView::Jd1, {integer("je"), text("rq")}, {text("rq")}, columns({"rq", "je"}),
                 refreshYearlyCharges});
    t.push_back({utf8("用水类别占比"), QStringLiteral("Chart5"), {2, 0}, waterUseCategoriesLook,
                 QStringLiteral("Button6Click"), QStringLiteral("ADOQuery6"), utf8(statements::kWaterUseCategories),
                 ReportingView::Yslb, {integer("数量"), text("用水类别")}, {}, columns({"用水类别", "数量"}),
                 refreshViewPie});
    t.push_back({utf8("最近缴费"), QString(), {}, nullptr, QStringLiteral("Button5Click"), QStringLiteral("ADOQuery5"),
                 statements::tickerStatement(), std::nullopt,
                 {text("lsh"), text("tzh"), text("hm"), text("dz"), {QStringLiteral("je"), ReadAs::Float}, text("rq"),
                  text("ren")},
                 {}, columns({"lsh", "tzh", "hm", "dz", "je", "ren", "rq"}), refillTicker, false});
    t.push_back({utf8("抄录状态统计"), QStringLiteral("Chart6"), {2, 1}, readingStatusLook,
                 QStringLiteral("Button8Click"), QStringLiteral("ADOQuery7"), utf8(statements::kReadingStatus),
                 std::nullopt, {integer("lr"), text("zt")}, {}, columns({"zt", "lr"}), refreshStatusPie});
    // Titled "2026年度水费回收情况(单位:万元)".
    t.push_back({utf8("水费回收情况"), QStringLiteral("Chart4"), {1, 1}, feeRecoveryLook,
                 QStringLiteral("Button4Click"), QStringLiteral("ADOQuery4"), utf8(statements::kFeeRecovery),
                 ReportingView::Jd2, {text("jfsj"), integer("sf"), integer("tq")}, {text("jfsj")},
                 columns({"jfsj", "yf", "sf", "tq", "bl"}), refreshFeeRecovery});
    return t;
}

} // namespace

const PanelTable& dashboardPanels()
{
    static const PanelTable table = makeTable();
    return table;
}

const PanelEntry& panelByRoutine(const PanelTable& table, const QString& routineName)
{
    for (const PanelEntry& e : table) {
        if (e.routineName == routineName)
            return e;
    }
    throw std::out_of_range("no panel refreshed by " + routineName.toStdString());
}

const PanelEntry& panelByChart(const PanelTable& table, const QString& chartName)
{
    for (const PanelEntry& e : table) {
        if (e.isChart() && e.chartName == chartName)
            return e;
    }
    throw std::out_of_range("no panel fills " + chartName.toStdString());
}

std::unique_ptr<chart::ChartWidget> makePanelChart(const PanelEntry& entry, double dpiScale, QWidget* parent)
{
    if (!entry.isChart())
        throw std::invalid_argument(entry.routineName.toStdString() + " fills no chart");
    return makeChartWidget(entry.chartName, entry.look(), dpiScale, parent);
}

} // namespace kvet::panels
