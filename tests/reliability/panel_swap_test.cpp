// One entry of a copy of the panels table swapped for another panel: another
// statement on the demo database, its own title and look. Nothing else is
// told of it: the batches refresh it, the snapshot shows it and kvet-check
// checks its statement, while the other panels stay as they were.
#include "check/check_statements.h"
#include "data/connection.h"
#include "panels/share_pies.h"
#include "reliability/demo_window.h"
#include "support/scripted_backend.h"

#include <gtest/gtest.h>

namespace kvet::testing {
namespace {

const QString kSwappedTitle = QStringLiteral("缴费状态户数");
const QString kSwappedStatement = QStringLiteral("select jfzt zt, count(*) n from sf_yhsf group by jfzt order by jfzt");

ChartLook swappedLook()
{
    ChartLook look = paymentChannelsLook();
    look.title = QStringLiteral("缴费状态");
    look.series.front().name = QStringLiteral("PieSeries9");
    return look;
}

// The table with Chart6's entry (Button8Click on ADOQuery7) swapped.
panels::PanelTable swappedTable()
{
    panels::PanelTable table = panels::dashboardPanels();
    for (panels::PanelEntry& e : table) {
        if (e.chartName != QStringLiteral("Chart6"))
            continue;
        e.title = kSwappedTitle;
        e.look = swappedLook;
        e.statement = kSwappedStatement;
        e.view.reset();
        e.reads = {{QStringLiteral("n"), panels::ReadAs::Integer}, {QStringLiteral("zt"), panels::ReadAs::Text}};
        e.firstRowReads.clear();
        e.shown = {QStringLiteral("zt"), QStringLiteral("n")};
        e.refresh = panels::refreshStatusPie;
    }
    return table;
}

bool swapRan(const QStringList& calls, const QString& statement)
{
    return calls.contains(QStringLiteral("run: ") + folded(statement));
}

TEST(SwappedPanel, IsBuiltRefreshedByBothBatchesAndShownInTheSnapshot)
{
    DemoWindow w(demoMoment(), manualIntervals(), swappedTable());
    DemoWindow original;
    for (DemoWindow* window : {&w, &original})
        window->scheduler().Timer4Timer();

    const ChartState built = w.screen().charts.at(5);
    EXPECT_EQ(built.name, QStringLiteral("Chart6"));
    EXPECT_EQ(built.title, QStringLiteral("缴费状态"));
    ASSERT_EQ(built.series.size(), 1u);
    EXPECT_EQ(built.series.front().first, QStringLiteral("PieSeries9"));

    int from = w.plan().callCount() + 1;
    for (DemoWindow* window : {&w, &original})
        window->scheduler().Timer2Timer();
    EXPECT_TRUE(swapRan(w.plan().describe(from), kSwappedStatement));

    const ScreenState swapped = w.screen();
    const ScreenState plain = original.screen();
    const ChartState& chart6 = swapped.charts.at(5);
    EXPECT_EQ(chart6.title, kSwappedTitle);
    ASSERT_EQ(chart6.series.size(), 1u);
    const auto& slices = chart6.series.front().second;
    ASSERT_FALSE(slices.empty());
    double accounts = 0;
    for (const chart::ChartPoint& p : slices)
        accounts += p.value;
    EXPECT_EQ(QString::number(qint64(accounts)), w.scalar(QStringLiteral("select count(*) from sf_yhsf")));
    EXPECT_EQ(slices.front().label, w.scalar(QStringLiteral("select jfzt from sf_yhsf group by jfzt order by jfzt")));
    EXPECT_TRUE(w.snapshot().contains(kSwappedTitle.toUtf8()));
    EXPECT_FALSE(w.snapshot().contains(QStringLiteral("抄录状态统计").toUtf8()));

    // Every other panel as the dashboard's own table leaves it.
    ASSERT_EQ(swapped.charts.size(), plain.charts.size());
    for (std::size_t c = 0; c < 5; ++c)
        EXPECT_TRUE(sameChart(swapped.charts[c], plain.charts[c])) << describeChart(swapped.charts[c]);
    EXPECT_EQ(swapped.grid, plain.grid);
    EXPECT_EQ(swapped.status, plain.status);

    from = w.plan().callCount() + 1;
    w.scheduler().Timer3Timer();
    EXPECT_TRUE(swapRan(w.plan().describe(from), kSwappedStatement));
    EXPECT_EQ(w.screen().charts.at(5).title, kSwappedTitle);
}

TEST(SwappedPanel, KvetCheckChecksItsStatementInsteadOfTheOneItReplaced)
{
    Connection connection(demoCopy(demoMoment(), [] { return demoMoment(); }));
    connection.setConnectionString(QStringLiteral("Provider=SQLite"));
    check::Report report;
    EXPECT_EQ(check::checkStatements(connection, {}, report, swappedTable()), 0) << qPrintable(report.text());
    bool checked = false;
    for (const check::Finding& f : report.findings()) {
        if (f.text.startsWith(kSwappedTitle + QStringLiteral("（ADOQuery7）：")))
            checked = f.verdict == check::Verdict::Ok && f.text.contains(QStringLiteral("第一行：zt="));
        EXPECT_FALSE(f.text.contains(QStringLiteral("抄录状态统计"))) << qPrintable(f.text);
    }
    EXPECT_TRUE(checked) << qPrintable(report.text());
}

} // namespace
} // namespace kvet::testing
