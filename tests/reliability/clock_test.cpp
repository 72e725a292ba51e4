// The clocks. The scheduler's timers count on a monotonic clock and read no
// date, so a jump of the wall clock (daylight saving, a manual change, an NTP
// correction) neither stalls nor hurries them. What the screen shows follows
// the database server's clock (getdate() in the views): the 30-day window
// slides with it, and the current year of the two yearly charts changes at the
// first batch after the server's midnight on 31 December.
#include "reliability/demo_window.h"
#include "screen/ticker_grid.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>

namespace kvet::testing {
namespace {

std::size_t points(const ScreenState& s, int chart, std::size_t series = 0)
{
    return s.charts[std::size_t(chart - 1)].series.at(series).second.size();
}

const QString& title(const ScreenState& s, int chart)
{
    return s.charts[std::size_t(chart - 1)].title;
}

TEST(ServerClock, TheYearChangesAtTheFirstBatchAfterMidnight)
{
    DemoWindow w(QDateTime(QDate(2025, 12, 31), QTime(23, 59, 59)));
    w.scheduler().Timer4Timer();
    w.scheduler().Timer2Timer();
    ScreenState s = w.screen();
    EXPECT_EQ(title(s, 2), QStringLiteral("2025年度收费情况(单位:万元)"));
    EXPECT_EQ(points(s, 2), 12u);
    EXPECT_EQ(title(s, 4), QStringLiteral("2025年度水费回收情况(单位:万元)"));
    EXPECT_EQ(points(s, 4), 12u);
    const std::size_t channels = points(s, 1);
    EXPECT_GT(channels, 0u);

    // Midnight passes on the server; the screen changes only with a batch.
    w.setNow(QDateTime(QDate(2026, 1, 1), QTime(0, 0, 1)));
    EXPECT_EQ(title(w.screen(), 2), QStringLiteral("2025年度收费情况(单位:万元)"));
    w.scheduler().Timer3Timer();
    s = w.screen();
    // No payment and no bill of 2026 yet: both yearly charts are empty, and
    // their titles, which take the year from the first row, have no year.
    EXPECT_EQ(title(s, 2), QStringLiteral("年度收费情况(单位:万元)"));
    EXPECT_EQ(points(s, 2), 0u);
    EXPECT_EQ(title(s, 4), QStringLiteral("年度水费回收情况(单位:万元)"));
    EXPECT_EQ(points(s, 4), 0u);
    // The last 30 days still hold December's payments.
    EXPECT_EQ(points(s, 1), channels);

    // The first payment of the year, at midnight sharp, and January's bills.
    w.sql(QStringLiteral("INSERT INTO sf_sr (tzh, je, ren, rq) VALUES ((SELECT tzh FROM sf_yh LIMIT 1), 25000.0, "
                         "'wx', '2026-01-01 00:00:00')"));
    w.sql(QStringLiteral("INSERT INTO sf_yhsf (tzh, jfsj, sf, cbch, yhls, fph, jfzt) VALUES "
                         "('1', '202601', 30000.0, 1, 2, 'F1', '已缴'), ('2', '202601', 20000.0, 1, 2, 'F2', '未缴')"));
    w.setNow(QDateTime(QDate(2026, 1, 1), QTime(0, 10, 1)));
    w.scheduler().Timer3Timer();
    s = w.screen();
    EXPECT_EQ(title(s, 2), QStringLiteral("2026年度收费情况(单位:万元)"));
    ASSERT_EQ(points(s, 2), 1u);
    EXPECT_EQ(s.charts[1].series[0].second[0].label, QStringLiteral("01月"));
    EXPECT_EQ(s.charts[1].series[0].second[0].value, 2.0); // 2.5 ten thousand yuan, halves to even
    EXPECT_EQ(title(s, 4), QStringLiteral("2026年度水费回收情况(单位:万元)"));
    ASSERT_EQ(points(s, 4, 0), 1u);
    EXPECT_EQ(s.charts[3].series[0].second[0].value, 3.0);
    EXPECT_EQ(s.charts[3].series[1].second[0].value, 2.0);
    EXPECT_TRUE(w.errorBoxes().isEmpty());
}

// After any jump of the server's clock, one batch gives the screen a window
// started at that time shows: nothing of the earlier time is kept.
TEST(ServerClock, AfterAJumpOneBatchShowsWhatAFreshStartWould)
{
    const QDateTime start(QDate(2026, 3, 29), QTime(1, 30, 0));
    DemoWindow w(start);
    w.scheduler().Timer4Timer();
    w.scheduler().Timer2Timer();
    const int jumps[] = {3600, -3600, -7200, 86400, -86400 * 40};
    QDateTime now = start;
    for (int seconds : jumps) {
        SCOPED_TRACE("jump of " + std::to_string(seconds) + " s");
        now = now.addSecs(seconds);
        w.setNow(now);
        w.scheduler().Timer3Timer();
        EXPECT_TRUE(w.scheduler().timer3().isActive());

        DemoWindow fresh(start);
        fresh.setNow(now);
        fresh.scheduler().Timer4Timer();
        fresh.scheduler().Timer2Timer();
        const ScreenState a = w.screen(), b = fresh.screen();
        for (std::size_t c = 0; c < 6; ++c)
            EXPECT_TRUE(sameChart(a.charts[c], b.charts[c])) << describeChart(a.charts[c]);
    }
}

// The real timers, scaled down, while the server's clock runs backwards by an
// hour at every statement: the batches keep their pace and the ticker moves.
TEST(SchedulerTimers, KeepTheirPaceWhateverTheClocksSay)
{
    SchedulerIntervals fast;
    fast.scrollMs = 1;
    fast.probeMs = 10;
    fast.firstRefreshMs = 10;
    fast.periodicMs = 40;
    fast.probeRetryMs = 50;
    DemoWindow w(demoMoment(), fast);
    w.plan().beforeCall = [&w](int, CallKind) { w.setNow(w.now().addSecs(-3600)); };
    w.form().resize(1366, 768);
    w.form().show();
    const int gridTop = w.form().grid().y();

    // A batch of the demo database costs a second or more of CPU in a debug
    // build on a busy machine, so the pace is judged by count, not by a fixed
    // wait: four batches must come within a minute whatever the clock does.
    const auto countBatches = [&w] {
        int n = 0;
        for (const QString& c : w.plan().describe())
            n += c.contains(QStringLiteral("V_W_dsj_jfqd")) ? 1 : 0;
        return n;
    };
    QElapsedTimer waited;
    waited.start();
    while ((countBatches() < 4 || w.scheduler().timer2().isActive()) && waited.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    w.plan().beforeCall = nullptr;
    const int batches = countBatches();
    EXPECT_FALSE(w.scheduler().timer2().isActive()) << "the first refresh has run";
    EXPECT_GE(batches, 4) << "the periodic batch keeps coming";
    EXPECT_TRUE(w.scheduler().timer1().isActive());
    EXPECT_TRUE(w.scheduler().timer3().isActive());
    EXPECT_NE(w.form().grid().y(), gridTop) << "the ticker moves";
    EXPECT_LT(w.now(), demoMoment().addSecs(-3600 * batches));
    EXPECT_TRUE(w.errorBoxes().isEmpty());
}

} // namespace
} // namespace kvet::testing
