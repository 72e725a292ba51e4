// What the chart panels leave on screen after success and after each kind of failure.
#include "panel_fixture.h"

#include "data/failure.h"

using namespace kvet;
using namespace kvet::panels;
using kvet::testing::table;

namespace {

struct ChartPanels : kvet::testing::PanelFixture {
    chart::Chart pie{QStringLiteral("Chart1")};
    chart::Chart line{QStringLiteral("Chart2")};
    chart::Chart bars{QStringLiteral("Chart3")};
    chart::Chart stacked{QStringLiteral("Chart4")};
    ChartPanels()
    {
        pie.addSeries(QStringLiteral("PieSeries1"));
        line.addSeries(QStringLiteral("Series3"));
        bars.addSeries(QStringLiteral("Series2"));
        stacked.addSeries(QStringLiteral("Series4"));
        stacked.addSeries(QStringLiteral("Series6"));
    }
};

TEST_F(ChartPanels, PaymentChannelPieHasOneAutoColouredSlicePerRowAndDoesNotDoubleOnRerun)
{
    script->onRun = [](const QString&) {
        return table({"hj", "ren"}, {{std::int64_t(120), QStringLiteral("支付宝")}, {std::int64_t(30), QStringLiteral("营业厅")}});
    };
    refresh("Button1Click", pie, QStringLiteral("CREATE VIEW x"));
    refresh("Button1Click", pie, QStringLiteral("CREATE VIEW x"));
    EXPECT_EQ(pie.titleLines(), QStringList{"近30天缴费渠道占比"});
    EXPECT_EQ(labels(pie.series(0)), QStringList({"支付宝", "营业厅"}));
    EXPECT_EQ(values(pie.series(0)), (std::vector<double>{120, 30}));
    EXPECT_EQ(pie.series(0).points()[0].color, chart::kAutoColor);
    EXPECT_EQ(script->count("execute"), 0);
}

TEST_F(ChartPanels, MissingViewLeavesTheNewTitleOverAnEmptyPieCreatesTheViewAndCloses)
{
    pie.series(0).add(5, "old", chart::kAutoColor);
    failEveryRun("Invalid object name 'V_W_dsj_yslb'");
    refresh("Button6Click", pie, QStringLiteral("CREATE VIEW [dbo].[V_W_dsj_yslb] AS x"));
    EXPECT_EQ(pie.titleLines(), QStringList{"用水类别占比"});
    EXPECT_TRUE(pie.series(0).points().empty());
    EXPECT_EQ(script->calls.mid(script->calls.size() - 2),
              QStringList({"execute: CREATE VIEW [dbo].[V_W_dsj_yslb] AS x", "disconnect"}));
    EXPECT_FALSE(connection.connected());
}

TEST_F(ChartPanels, ARepairThatFailsLeavesThePanel)
{
    failEveryRun("timeout");
    script->onExecute = [](const QString&) { throw DatabaseError("There is already an object named 'V_W_dsj_jfqd' in the database"); };
    EXPECT_THROW(refresh("Button1Click", pie, "CREATE VIEW"), DatabaseError);
}

TEST_F(ChartPanels, ReadingStatusFailureGoesToTheStatusCellWithoutRepair)
{
    failEveryRun("Invalid column name 'lrzt'");
    refresh("Button8Click", pie);
    EXPECT_EQ(grid.cells[0][0], QStringLiteral("Invalid column name 'lrzt'"));
    EXPECT_EQ(script->count("execute"), 0);
    EXPECT_FALSE(connection.connected());
    EXPECT_EQ(pie.titleLines(), QStringList{"抄录状态统计"});
}

TEST_F(ChartPanels, YearlyChargesRoundsTenThousandsHalfToEvenAndLabelsMonths)
{
    script->onRun = [](const QString&) {
        return table({"rq", "je"}, {{QStringLiteral("202601"), Decimal{"1234.5678"}},
                                    {QStringLiteral("202602"), Decimal{"2.5000"}},
                                    {QStringLiteral("202604"), Decimal{"3.5000"}}});
    };
    refresh("Button3Click", line, "CREATE VIEW");
    EXPECT_EQ(line.titleLines(), QStringList{"2026年度收费情况(单位:万元)"});
    EXPECT_EQ(values(line.series(0)), (std::vector<double>{1235, 2, 4}));
    EXPECT_EQ(labels(line.series(0)), QStringList({"01月", "02月", "04月"}));
    EXPECT_EQ(line.series(0).points()[0].color, QColor(0xFF, 0xFF, 0x00));
}

TEST_F(ChartPanels, YearlyChargesKeepsItsLineWhenTheQueryFails)
{
    line.setTitle("2025年度收费情况(单位:万元)");
    line.series(0).add(10, "12月", QColor(0xFF, 0xFF, 0x00));
    failEveryRun("Invalid object name 'V_W_dsj_jd1'");
    refresh("Button3Click", line, "CREATE VIEW jd1");
    EXPECT_EQ(line.titleLines(), QStringList{"2025年度收费情况(单位:万元)"});
    EXPECT_EQ(line.series(0).points().size(), 1u);
    EXPECT_EQ(script->count("execute: CREATE VIEW jd1"), 1);
    EXPECT_FALSE(connection.connected());
}

TEST_F(ChartPanels, EmptyYearGivesTheBareTitle)
{
    script->onRun = [](const QString&) { return table({"rq", "je"}, {}); };
    refresh("Button3Click", line, "CREATE VIEW");
    EXPECT_EQ(line.titleLines(), QStringList{"年度收费情况(单位:万元)"});
    EXPECT_TRUE(line.series(0).points().empty());
}

TEST_F(ChartPanels, RecoveryFillsBothSeriesInOnePassWithBrokenUnpaidLabels)
{
    script->onRun = [](const QString&) {
        return table({"jfsj", "yf", "sf", "tq", "bl"},
                     {{QStringLiteral("202601"), Decimal{"50"}, Decimal{"40.4"}, Decimal{"9.6"}, Decimal{"19.2"}},
                      {QStringLiteral("202602"), Decimal{"60"}, Decimal{"60"}, Null{}, Null{}}});
    };
    refresh("Button4Click", stacked, "CREATE VIEW");
    EXPECT_EQ(stacked.titleLines(), QStringList{"2026年度水费回收情况(单位:万元)"});
    EXPECT_EQ(values(stacked.series(0)), (std::vector<double>{40, 60}));
    EXPECT_EQ(values(stacked.series(1)), (std::vector<double>{10, 0}));
    EXPECT_EQ(labels(stacked.series(0)), QStringList({"01月", "02月"}));
    EXPECT_EQ(labels(stacked.series(1)), QStringList({"未交\r01月", "未交\r02月"}));
    EXPECT_EQ(stacked.series(0).points()[0].color, QColor(0xFF, 0x82, 0x00));
}

TEST_F(ChartPanels, RecoveryCreatesTheMissingViewAndFillsInTheSameCall)
{
    bool viewExists = false;
    script->onRun = [&](const QString&) -> ResultSet {
        if (!viewExists)
            throw DatabaseError("Invalid object name 'V_W_dsj_jd2'");
        return table({"jfsj", "sf", "tq"}, {{QStringLiteral("202603"), Decimal{"1"}, Decimal{"2"}}});
    };
    script->onExecute = [&](const QString&) { viewExists = true; };
    connection.open();
    refresh("Button4Click", stacked, "CREATE VIEW jd2");
    EXPECT_EQ(stacked.series(0).points().size(), 1u);
    EXPECT_TRUE(connection.connected());
    EXPECT_EQ(script->count("disconnect"), 0);
}

TEST_F(ChartPanels, RecoveryRerunsAtMostOnceAndItsSecondRepairFailureEndsTheRoutine)
{
    failEveryRun("Invalid column name 'tq'");
    int executes = 0;
    script->onExecute = [&](const QString&) {
        if (++executes > 1)
            throw DatabaseError("There is already an object named 'V_W_dsj_jd2' in the database");
    };
    EXPECT_THROW(refresh("Button4Click", stacked, "CREATE VIEW"), DatabaseError);
    EXPECT_EQ(script->count("run"), 2);
    EXPECT_EQ(executes, 2);

    // Even a repair that keeps succeeding never loops.
    executes = -100;
    script->calls.clear();
    refresh("Button4Click", stacked, "CREATE VIEW");
    EXPECT_EQ(script->count("run"), 2);
}

TEST_F(ChartPanels, RecoveryKeepsItsSampleColumnsWhenTheQueryCannotOpen)
{
    stacked.series(0).add(300, "202201", QColor(0xFF, 0xFF, 0xFF));
    script->onConnect = [] { throw DatabaseError("Unable to connect"); };
    EXPECT_THROW(refresh("Button4Click", stacked, "CREATE VIEW"), DatabaseError);
    EXPECT_EQ(stacked.series(0).points().size(), 1u);
}

TEST_F(ChartPanels, DailyWorkloadLabelsDaysWithoutLeadingZerosInDateOrder)
{
    script->onRun = [](const QString&) {
        return table({"cbrq1", "hj"}, {{QStringLiteral("261105"), std::int64_t(12)},
                                       {QStringLiteral("261130"), std::int64_t(40)},
                                       {QStringLiteral("261205"), std::int64_t(7)}});
    };
    refresh("Button2Click", bars);
    EXPECT_EQ(bars.titleLines(), QStringList{"每日抄表工作量"});
    EXPECT_EQ(labels(bars.series(0)), QStringList({"5日", "30日", "5日"}));
    EXPECT_EQ(values(bars.series(0)), (std::vector<double>{12, 40, 7}));
}

TEST_F(ChartPanels, DailyWorkloadBadDateKeepsTheBarsSoFarAndReportsTheParse)
{
    script->onRun = [](const QString&) {
        return table({"cbrq1", "hj"}, {{QStringLiteral("261101"), std::int64_t(3)},
                                       {QStringLiteral("2611x"), std::int64_t(4)}});
    };
    refresh("Button2Click", bars);
    EXPECT_EQ(labels(bars.series(0)), QStringList({"1日"}));
    EXPECT_EQ(grid.cells[0][0], QStringLiteral("'1x' is not a valid integer value"));
    EXPECT_FALSE(connection.connected());

    // NULL entry dates form one group with empty text, which sorts first.
    script->onRun = [](const QString&) {
        return table({"cbrq1", "hj"}, {{Null{}, std::int64_t(3)}, {QStringLiteral("261101"), std::int64_t(4)}});
    };
    refresh("Button2Click", bars);
    EXPECT_TRUE(bars.series(0).points().empty());
    EXPECT_EQ(grid.cells[0][0], QStringLiteral("'' is not a valid integer value"));
}

} // namespace
