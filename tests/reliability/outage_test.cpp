// The database going away and coming back while the screen runs, end to end
// on the demo database: at start, before the first refresh, between two
// batches, in the middle of one; a reporting view dropped by someone while the
// screen runs; and a failure inside a routine's own failure path. Each time the
// program goes on without a restart, and once the database is back the screen
// is the same as if nothing had happened.
#include "data/dashboard_sql.h"
#include "reliability/demo_window.h"
#include "screen/panel.h"
#include "screen/ticker_grid.h"
#include "support/scripted_backend.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace kvet::testing {
namespace {

const QString kDown = QStringLiteral("[DBNETLIB][ConnectionOpen (Connect()).]SQL Server 不存在或拒绝访问");
const QString kBanner = QStringLiteral("营业收费系统指标"); // before the probe has read the name

QByteArray screenAfter(const std::function<void(DemoWindow&)>& steps)
{
    DemoWindow w;
    steps(w);
    return w.snapshot();
}

void startNormally(DemoWindow& w)
{
    w.scheduler().Timer4Timer();
    w.scheduler().Timer2Timer();
    w.endTickerPass();
}

// The screen of a run without outage: start, one more batch, one more ticker pass.
QByteArray undisturbed()
{
    return screenAfter([](DemoWindow& w) {
        startNormally(w);
        w.scheduler().Timer3Timer();
        w.endTickerPass();
    });
}

std::size_t allPoints(const ScreenState& s, int chart)
{
    std::size_t n = 0;
    for (const auto& series : s.charts[std::size_t(chart - 1)].series)
        n += series.second.size();
    return n;
}

TEST(Outage, DownAtStartTheProbeKeepsTryingAndTheChartsFillOnceTheServerIsUp)
{
    DemoWindow w;
    w.serverDown(kDown);
    for (int attempt = 0; attempt < 3; ++attempt) {
        w.scheduler().Timer4Timer();
        EXPECT_EQ(w.screen().status, kDown);
        EXPECT_EQ(w.form().banner().caption(), kBanner);
        EXPECT_TRUE(w.scheduler().timer4().isActive()) << "the probe must be tried again";
        EXPECT_FALSE(w.scheduler().timer2().isActive());
        EXPECT_FALSE(w.scheduler().timer3().isActive());
    }
    w.serverUp();
    w.scheduler().Timer4Timer();
    EXPECT_TRUE(w.form().banner().caption().endsWith(QStringLiteral("营业收费指标")));
    EXPECT_FALSE(w.scheduler().timer4().isActive());
    EXPECT_TRUE(w.scheduler().timer2().isActive());
    w.scheduler().Timer2Timer();
    EXPECT_FALSE(w.scheduler().timer2().isActive());
    w.endTickerPass();
    EXPECT_EQ(w.snapshot(), screenAfter(startNormally));
    EXPECT_TRUE(w.errorBoxes().isEmpty());
}

TEST(Outage, DownWithTheConnectionClosedTheFirstRefreshIsRetriedUntilItOpens)
{
    DemoWindow w;
    w.scheduler().Timer4Timer();
    w.serverDown(kDown);
    w.endTickerPass(); // the refill fails and closes the probe's session
    EXPECT_EQ(w.screen().status, kDown);
    EXPECT_FALSE(w.form().connection().connected());
    const ScreenState empty = w.screen();
    for (int attempt = 0; attempt < 3; ++attempt) {
        w.scheduler().Timer2Timer();
        EXPECT_TRUE(w.scheduler().timer2().isActive());
        EXPECT_EQ(w.screen().status, kDown);
        EXPECT_FALSE(w.form().connection().connected());
    }
    for (int c = 1; c <= 6; ++c)
        EXPECT_TRUE(sameChart(w.screen().charts[std::size_t(c - 1)], empty.charts[std::size_t(c - 1)]));
    w.serverUp();
    w.scheduler().Timer2Timer();
    EXPECT_FALSE(w.scheduler().timer2().isActive());
    w.endTickerPass();
    EXPECT_EQ(w.snapshot(), screenAfter(startNormally));
}

TEST(Outage, DownBetweenTheProbeAndTheFirstRefreshTheFirstRefreshIsRetriedUntilTheServerIsBack)
{
    // The probe leaves its session open, so the first refresh does not need to
    // connect; it ends at the first view repair with the connection gone. That
    // batch has not run: Timer2 stays on and retries with a fresh connection.
    DemoWindow w;
    w.scheduler().Timer4Timer();
    w.serverDown(kDown);
    w.scheduler().Timer2Timer();
    EXPECT_TRUE(w.scheduler().timer2().isActive());
    EXPECT_EQ(w.screen().status, kDown);
    EXPECT_FALSE(w.form().connection().connected());
    w.scheduler().Timer2Timer();
    EXPECT_TRUE(w.scheduler().timer2().isActive());
    EXPECT_EQ(w.screen().status, kDown);
    w.serverUp();
    w.scheduler().Timer2Timer();
    EXPECT_FALSE(w.scheduler().timer2().isActive());
    EXPECT_EQ(w.snapshot(), screenAfter(startNormally));
    EXPECT_TRUE(w.errorBoxes().isEmpty());
}

TEST(Outage, AFirstRefreshEndedByAFailingRepairOnALiveSessionIsNotRetried)
{
    // A view that exists but cannot be read ends the batch at its repair; the
    // session is fine, so the batch counts as run and Timer2 stays off.
    DemoWindow w;
    w.scheduler().Timer4Timer();
    const int n = w.plan().callCount();
    w.plan().failCall(n + 1); // the pie's read
    w.plan().failCall(n + 2, QStringLiteral("There is already an object named 'V_W_dsj_jfqd' in the database"));
    w.scheduler().Timer2Timer();
    EXPECT_FALSE(w.scheduler().timer2().isActive());
    EXPECT_TRUE(w.errorBoxes().isEmpty());
}

TEST(Outage, DownBetweenBatchesTheChartsKeepTheirContentUntilTheServerIsBack)
{
    DemoWindow w;
    startNormally(w);
    const ScreenState before = w.screen();
    ASSERT_TRUE(w.form().connection().connected()); // the ticker's session
    w.serverDown(kDown);

    // The open session is broken: the first panel fails, its repair fails too,
    // and that ends the batch. The payment-channel pie was cleared first.
    w.scheduler().Timer3Timer();
    ScreenState s = w.screen();
    EXPECT_EQ(s.status, kDown);
    EXPECT_EQ(allPoints(s, 1), 0u);
    for (int c = 2; c <= 6; ++c)
        EXPECT_TRUE(sameChart(s.charts[std::size_t(c - 1)], before.charts[std::size_t(c - 1)])) << c;

    // The ticker's refill fails and closes the session; the next batch cannot connect.
    w.endTickerPass();
    EXPECT_FALSE(w.form().connection().connected());
    EXPECT_EQ(w.screen().grid[1], before.grid[1]); // rows stay as they were
    w.scheduler().Timer3Timer();
    s = w.screen();
    EXPECT_EQ(s.status, kDown);
    for (int c = 2; c <= 6; ++c)
        EXPECT_TRUE(sameChart(s.charts[std::size_t(c - 1)], before.charts[std::size_t(c - 1)])) << c;

    w.serverUp();
    w.scheduler().Timer3Timer();
    w.endTickerPass();
    EXPECT_EQ(w.snapshot(), undisturbed());
    EXPECT_TRUE(w.errorBoxes().isEmpty());
}

TEST(Outage, DownInTheMiddleOfABatchTheRestFollowTheirOwnFailurePaths)
{
    DemoWindow w;
    w.scheduler().Timer4Timer();
    w.scheduler().Timer2Timer(); // closed afterwards
    const ScreenState before = w.screen();
    const int from = w.plan().callCount() + 1;
    // connect, Button1Click's run, then the server goes: at Button2Click's run.
    w.plan().beforeCall = [&](int number, CallKind) {
        if (number == from + 2)
            w.serverDown(kDown);
    };
    w.scheduler().Timer3Timer();
    w.plan().beforeCall = nullptr;

    // Button2Click shows the failure and closes; Button3Click cannot connect,
    // its repair cannot either, and that ends the batch.
    const QStringList calls = w.plan().describe(from);
    ASSERT_EQ(calls.size(), 6) << calls.join('\n').toStdString();
    EXPECT_EQ(calls.mid(3), QStringList({"disconnect", "connect", "connect"}));
    const ScreenState s = w.screen();
    EXPECT_EQ(s.status, kDown);
    EXPECT_TRUE(sameChart(s.charts[0], before.charts[0])); // refreshed with the same data
    EXPECT_EQ(allPoints(s, 3), 0u);                          // cleared, then failed
    for (int c : {2, 4, 5, 6})
        EXPECT_TRUE(sameChart(s.charts[std::size_t(c - 1)], before.charts[std::size_t(c - 1)])) << c;
    EXPECT_FALSE(w.form().connection().connected());

    w.serverUp();
    w.scheduler().Timer3Timer();
    w.endTickerPass();
    EXPECT_EQ(w.snapshot(), undisturbed());
}

struct DroppedView {
    ReportingView view;
    int chart;
    const char* afterFirstBatch; // "empty", "kept" or "filled"
};

void PrintTo(const DroppedView& d, std::ostream* os)
{
    *os << viewName(d.view).toStdString();
}

class ViewDropped : public ::testing::TestWithParam<DroppedView> {};

TEST_P(ViewDropped, IsCreatedAgainAtItsPanelsNextFailingRead)
{
    const DroppedView d = GetParam();
    const QString name = viewName(d.view);
    DemoWindow w;
    startNormally(w);
    const ScreenState before = w.screen();
    w.sql(QStringLiteral("DROP VIEW %1").arg(name));
    ASSERT_FALSE(w.viewExists(name));

    w.scheduler().Timer3Timer();
    EXPECT_TRUE(w.viewExists(name));
    const ScreenState s = w.screen();
    const ChartState& chart = s.charts[std::size_t(d.chart - 1)];
    const QString outcome = QString::fromLatin1(d.afterFirstBatch);
    if (outcome == QStringLiteral("empty"))
        EXPECT_EQ(allPoints(s, d.chart), 0u);
    else
        EXPECT_TRUE(sameChart(chart, before.charts[std::size_t(d.chart - 1)])) << describeChart(chart);
    // The batch went on: every other chart was refreshed with the same data.
    for (int c = 1; c <= 6; ++c) {
        if (c != d.chart) {
            EXPECT_TRUE(sameChart(s.charts[std::size_t(c - 1)], before.charts[std::size_t(c - 1)])) << c;
        }
    }
    EXPECT_EQ(w.plan().count(CallKind::Execute), 1);
    // Only the recovery chart runs its panel again at once, on the new view.
    const QStringList runsOfView =
        w.plan().describe().filter(QRegularExpression(QStringLiteral("^run: .*\\b%1\\b").arg(name)));
    EXPECT_EQ(runsOfView.size(), d.view == ReportingView::Jd2 ? 3 : 2); // the first refresh's, the failed, the re-run

    w.scheduler().Timer3Timer();
    w.endTickerPass();
    EXPECT_EQ(w.snapshot(), undisturbed());
    EXPECT_TRUE(w.errorBoxes().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(EachView, ViewDropped,
                         ::testing::Values(DroppedView{ReportingView::Jfqd, 1, "empty"},
                                           DroppedView{ReportingView::Jd1, 2, "kept"},
                                           DroppedView{ReportingView::Jd2, 4, "filled"},
                                           DroppedView{ReportingView::Yslb, 5, "empty"}),
                         [](const auto& test) { return viewName(test.param.view).toStdString(); });

// A routine's query fails and so does the close on its failure path.
struct DoubleFault {
    const char* name;
    const char* marker; // the statement whose run fails; the close right after it fails too
    bool byScrollTimer;  // the ticker's refill at the end of a pass, outside any batch
    bool periodic;
};

void PrintTo(const DoubleFault& f, std::ostream* os)
{
    *os << f.name;
}

class FailureInsideAFailurePath : public ::testing::TestWithParam<DoubleFault> {};

TEST_P(FailureInsideAFailurePath, EndsTheBatchOrReachesTheErrorBoxOnce)
{
    const DoubleFault f = GetParam();
    const QString runFails = QStringLiteral("查询超时");
    const QString closeFails = QStringLiteral("关闭连接失败");
    DemoWindow w;
    w.scheduler().Timer4Timer();
    if (f.periodic || f.byScrollTimer)
        w.scheduler().Timer2Timer();

    const int from = w.plan().callCount() + 1;
    {
        // A run without failures on a twin window tells the statement's number.
        DemoWindow twin;
        twin.scheduler().Timer4Timer();
        if (f.periodic || f.byScrollTimer)
            twin.scheduler().Timer2Timer();
        const int twinFrom = twin.plan().callCount() + 1;
        if (f.byScrollTimer)
            twin.endTickerPass();
        else if (f.periodic)
            twin.scheduler().Timer3Timer();
        else
            twin.scheduler().Timer2Timer();
        const QStringList calls = twin.plan().describe(twinFrom);
        int at = -1;
        for (int i = 0; i < calls.size() && at < 0; ++i) {
            if (calls[i].startsWith(QStringLiteral("run: ")) && calls[i].contains(QString::fromUtf8(f.marker)))
                at = i;
        }
        ASSERT_GE(at, 0);
        w.plan().failCall(from + at, runFails);
        w.plan().failCall(from + at + 1, closeFails);
    }

    if (f.byScrollTimer) {
        w.endTickerPass();
        ASSERT_EQ(w.errorBoxes(), QStringList{closeFails + QStringLiteral(".")});
        EXPECT_EQ(w.screen().status, runFails);
        EXPECT_TRUE(w.scheduler().timer1().isActive());
        EXPECT_TRUE(w.scheduler().timer3().isActive());
    } else {
        const ScreenState before = w.screen();
        f.periodic ? w.scheduler().Timer3Timer() : w.scheduler().Timer2Timer();
        EXPECT_TRUE(w.errorBoxes().isEmpty());
        // The close's failure left the routine and ended the batch.
        EXPECT_EQ(w.screen().status, closeFails);
        const QStringList calls = w.plan().describe(from);
        const int runs = int(std::count_if(calls.begin(), calls.end(),
                                           [](const QString& c) { return c.startsWith(QStringLiteral("run: ")); }));
        EXPECT_EQ(calls.last(), QStringLiteral("disconnect"));
        EXPECT_EQ(runs, f.periodic ? 5 : 2); // the failing routine was the last to run
        // The periodic batch leaves the connection as the failure left it (open);
        // the first refresh closes it on its own failure path.
        EXPECT_EQ(w.form().connection().connected(), f.periodic);
        EXPECT_TRUE(sameChart(w.screen().charts[3], before.charts[3]));
    }

    // Nothing is left over: the next batch and ticker pass give the usual screen.
    w.scheduler().Timer3Timer();
    w.endTickerPass();
    EXPECT_EQ(w.snapshot(), undisturbed());
}

INSTANTIATE_TEST_SUITE_P(Routines, FailureInsideAFailurePath,
                         ::testing::Values(DoubleFault{"TickerRefillByTheScrollTimer", "top 15", true, false},
                                           DoubleFault{"DailyWorkloadInTheFirstRefresh", "cbrq1", false, false},
                                           DoubleFault{"ReadingStatusInThePeriodicBatch", "UNION", false, true}),
                         [](const auto& test) { return std::string(test.param.name); });

} // namespace
} // namespace kvet::testing
