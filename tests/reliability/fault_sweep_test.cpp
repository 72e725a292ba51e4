// One failing database call at a time, at every position of a batch, on the
// real window and the demo database. For each position: nothing escapes the
// scheduler's slot, the failure takes the failing routine's own channel (the
// status cell, or the view repair), the batch ends or goes on as its rules
// say, every chart shows what those rules leave on it, and the next batch
// without the failure brings the whole screen back to what a run without any
// failure shows.
#include "data/dashboard_sql.h"
#include "panels/daily_workload.h"
#include "panels/fee_recovery.h"
#include "panels/panel_table.h"
#include "panels/recent_payments.h"
#include "panels/share_pies.h"
#include "panels/yearly_charges.h"
#include "reliability/demo_window.h"
#include "screen/ticker_grid.h"
#include "support/scripted_backend.h"

#include <gtest/gtest.h>
#include <optional>
#include <stdexcept>

namespace kvet::testing {
namespace {

enum class Channel { ViewRepair, ViewRepairAndRerun, StatusCell };

// A routine of the panels table, with what its refresh routine does on failure.
struct Routine {
    QString name;
    QString run;        // the call its statement makes, as the plan describes it
    Channel channel;
    int chart;          // 0: the ticker grid
    bool clearsFirst;   // points cleared before the query opens
    std::optional<ReportingView> view;
};

// The failure rules of each refresh routine the table may name.
std::pair<Channel, bool> sweepRulesOf(panels::RefreshRoutine refresh)
{
    if (refresh == &panels::refreshViewPie)
        return {Channel::ViewRepair, true};
    if (refresh == &panels::refreshYearlyCharges)
        return {Channel::ViewRepair, false};
    if (refresh == &panels::refreshFeeRecovery)
        return {Channel::ViewRepairAndRerun, false};
    if (refresh == &panels::refreshStatusPie || refresh == &panels::refreshDailyWorkload)
        return {Channel::StatusCell, true};
    if (refresh == &panels::refillTicker)
        return {Channel::StatusCell, false};
    ADD_FAILURE() << "no failure rules for a routine of the table";
    return {Channel::StatusCell, false};
}

// The table's routines in the order of the first full refresh.
const std::vector<Routine>& sweepRoutines()
{
    static const std::vector<Routine> all = [] {
        std::vector<Routine> out;
        for (const panels::PanelEntry& e : panels::dashboardPanels()) {
            const auto [channel, clearsFirst] = sweepRulesOf(e.refresh);
            out.push_back({e.routineName, QStringLiteral("run: ") + folded(e.statement), channel,
                           e.isChart() ? e.chartName.mid(5).toInt() : 0, clearsFirst, e.view});
        }
        return out;
    }();
    return all;
}

const Routine* routineOf(const QString& runCall)
{
    for (const Routine& r : sweepRoutines()) {
        if (runCall == r.run)
            return &r;
    }
    return nullptr;
}

const Routine& sweepTicker()
{
    for (const Routine& r : sweepRoutines()) {
        if (r.chart == 0)
            return r;
    }
    throw std::logic_error("the table holds no ticker");
}

// Where the batch starts from.
struct Variant {
    const char* name;
    bool first;                  // the first full refresh, else the periodic one
    bool sessionOpenBefore;      // the probe or a ticker refill left the connection open
};

void PrintTo(const Variant& v, std::ostream* os)
{
    *os << v.name;
}

const Variant kVariants[] = {
    {"FirstRefreshAfterTheProbe", true, true},
    {"FirstRefreshRetry", true, false},
    {"PeriodicWhileTheTickerSessionIsOpen", false, true},
    {"PeriodicAfterAClosedSession", false, false},
};

void mutateData(DemoWindow& w)
{
    // Ten minutes pass: a payment, readings, a month's bills paid and accounts
    // moved between categories, so that every chart of the next batch differs.
    w.setNow(w.now().addSecs(600));
    const QString now = w.now().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    const QString month = w.now().toString(QStringLiteral("yyyy")) + QStringLiteral("01");
    w.sql(QStringLiteral("INSERT INTO sf_sr (tzh, je, ren, rq) VALUES ((SELECT tzh FROM sf_yh LIMIT 1), "
                         "654321.0, 'wx', '%1')").arg(now));
    w.sql(QStringLiteral("UPDATE sf_yh SET lrzt = 1, lrrq1 = '%1' WHERE rowid IN "
                         "(SELECT rowid FROM sf_yh WHERE cbch > 0 AND NOT lrzt = 1 LIMIT 400)").arg(now));
    w.sql(QStringLiteral("UPDATE sf_yhsf SET jfzt = '已缴' WHERE jfsj = '%1' AND jfzt = '未缴'").arg(month));
    w.sql(QStringLiteral("UPDATE sf_yh SET YSLB = (SELECT YSLB FROM sf_yh WHERE YSLB IS NOT NULL GROUP BY YSLB "
                         "ORDER BY count(*) DESC LIMIT 1) WHERE rowid IN (SELECT rowid FROM sf_yh "
                         "WHERE YSLB IS NOT NULL ORDER BY rowid DESC LIMIT 3000)"));
}

// Brings a window to the state just before the batch under test.
void prepare(DemoWindow& w, const Variant& v)
{
    w.scheduler().Timer4Timer();
    if (v.first) {
        if (!v.sessionOpenBefore)
            w.form().connection().close(); // as a failed attempt leaves it
        return;
    }
    w.scheduler().Timer2Timer();
    if (v.sessionOpenBefore)
        w.endTickerPass();
    mutateData(w);
}

void runBatch(DemoWindow& w, const Variant& v)
{
    if (v.first)
        w.scheduler().Timer2Timer();
    else
        w.scheduler().Timer3Timer();
}

// The next batch without the failure, then one ticker pass.
void recover(DemoWindow& w)
{
    if (w.scheduler().timer2().isActive())
        w.scheduler().Timer2Timer();
    else
        w.scheduler().Timer3Timer();
    w.endTickerPass();
}

struct Reference {
    ScreenState before, after;
    QStringList batchCalls;
    QByteArray recovered;
};

Reference referenceRun(const Variant& v)
{
    DemoWindow w;
    prepare(w, v);
    Reference r;
    r.before = w.screen();
    const int from = w.plan().callCount() + 1;
    runBatch(w, v);
    r.batchCalls = w.plan().describe(from);
    r.after = w.screen();
    w.scheduler().Timer3Timer();
    w.endTickerPass();
    r.recovered = w.snapshot();
    return r;
}

enum class ChartIs { AsBefore, AsAfter, Cleared };

struct Expectation {
    QStringList callsAfterFailure;
    std::optional<QString> status; // empty: the failed CREATE VIEW's own message
    bool connected = false;
    bool retrying = false;         // Timer2 still on
    ChartIs charts[7] = {};        // [1..6]
    bool gridAsAfter = false;
};

// The rules, written out for one failing call of the batch.
Expectation expect(const Variant& v, const Reference& ref, int index, const QString& injected)
{
    Expectation e;
    const QStringList& calls = ref.batchCalls;
    const QString failing = calls[index];
    const bool atOpen = failing == QStringLiteral("connect") && index == 0;
    const bool atClose = failing == QStringLiteral("disconnect") && index == calls.size() - 1;
    const Routine* routine = routineOf(failing);

    // Which routines ran fully before the failing call.
    auto ranBefore = [&](const Routine& r) {
        for (int i = 0; i < index; ++i) {
            if (routineOf(calls[i]) == &r)
                return true;
        }
        return false;
    };
    bool batchEnds = atOpen || atClose || (routine && routine->channel != Channel::StatusCell);
    for (const Routine& r : sweepRoutines()) {
        if (r.chart == 0)
            continue;
        ChartIs& c = e.charts[r.chart];
        if (atClose || ranBefore(r))
            c = ChartIs::AsAfter;
        else if (&r == routine)
            c = r.clearsFirst ? ChartIs::Cleared : ChartIs::AsBefore;
        else
            c = batchEnds ? ChartIs::AsBefore : ChartIs::AsAfter;
    }
    const bool tickerInBatch = v.first;
    const Routine& ticker = sweepTicker();
    e.gridAsAfter = tickerInBatch && routine != &ticker && (atClose || ranBefore(ticker) || !batchEnds);

    if (atOpen || atClose) {
        e.status = injected;
        if (v.first)
            e.callsAfterFailure = {QStringLiteral("disconnect")};
        e.connected = !v.first && atClose; // a failed close leaves it open
        e.retrying = v.first && atOpen;
        return e;
    }
    if (!routine) {
        ADD_FAILURE() << "no routine sends " << failing.toStdString();
        return e;
    }
    if (routine->channel == Channel::StatusCell) {
        // The routine closes the connection; the next routine's query opens it again.
        e.callsAfterFailure << QStringLiteral("disconnect");
        const QStringList rest = calls.mid(index + 1, calls.size() - index - 2);
        if (!rest.isEmpty())
            e.callsAfterFailure << QStringLiteral("connect") << rest;
        e.callsAfterFailure << QStringLiteral("disconnect");
        // A later successful ticker refill writes the newest payment over the message.
        const bool refillLater = tickerInBatch && routine != &ticker && !ranBefore(ticker);
        e.status = refillLater ? ref.after.status : injected;
        return e;
    }
    // The view exists, so its repair fails, and that failure ends the batch.
    e.callsAfterFailure << QStringLiteral("execute: ") + folded(viewDefinitionText(*routine->view));
    if (v.first)
        e.callsAfterFailure << QStringLiteral("disconnect");
    e.connected = !v.first;
    return e;
}

class FaultSweep : public ::testing::TestWithParam<Variant> {};

TEST_P(FaultSweep, EveryCallOfTheBatchFailingOnceIsHandledAndRepairedByTheNextBatch)
{
    const Variant v = GetParam();
    const Reference ref = referenceRun(v);
    ASSERT_GE(ref.batchCalls.size(), 7) << ref.batchCalls.join('\n').toStdString();
    for (std::size_t c = 0; c < 6; ++c)
        ASSERT_FALSE(sameChart(ref.before.charts[c], ref.after.charts[c]))
            << "the batch must change every chart for this test to tell kept from refreshed: "
            << describeChart(ref.after.charts[c]);

    const QString injected = FaultPlan::defaultMessage();
    for (int index = 0; index < ref.batchCalls.size(); ++index) {
        SCOPED_TRACE("failing call " + std::to_string(index + 1) + ": " + ref.batchCalls[index].left(60).toStdString());
        DemoWindow w;
        prepare(w, v);
        const int from = w.plan().callCount() + 1;
        w.plan().failCall(from + index);

        EXPECT_NO_THROW(runBatch(w, v));
        const Expectation e = expect(v, ref, index, injected);
        const QStringList calls = w.plan().describe(from);
        ASSERT_GT(calls.size(), index);
        EXPECT_EQ(calls.mid(0, index), ref.batchCalls.mid(0, index));
        EXPECT_EQ(calls.mid(index + 1), e.callsAfterFailure);

        const ScreenState s = w.screen();
        if (e.status) {
            EXPECT_EQ(s.status, *e.status);
        } else {
            const BackendCall& repair = w.plan().calls.at(std::size_t(from + index));
            EXPECT_TRUE(repair.failed);
            EXPECT_FALSE(repair.message.isEmpty());
            EXPECT_EQ(s.status, repair.message);
        }
        EXPECT_EQ(w.form().connection().connected(), e.connected);
        EXPECT_EQ(w.scheduler().timer2().isActive(), e.retrying);
        EXPECT_TRUE(w.scheduler().timer3().isActive());
        for (int c = 1; c <= 6; ++c) {
            const ChartState& got = s.charts[std::size_t(c - 1)];
            const ChartState& before = ref.before.charts[std::size_t(c - 1)];
            const ChartState& after = ref.after.charts[std::size_t(c - 1)];
            switch (e.charts[c]) {
            case ChartIs::AsBefore:
                EXPECT_TRUE(sameChart(got, before)) << describeChart(got);
                break;
            case ChartIs::AsAfter:
                EXPECT_TRUE(sameChart(got, after)) << describeChart(got);
                break;
            case ChartIs::Cleared:
                EXPECT_EQ(got.title, after.title);
                for (const auto& series : got.series)
                    EXPECT_TRUE(series.second.empty()) << describeChart(got);
                break;
            }
        }
        const auto& grid = e.gridAsAfter ? ref.after.grid : ref.before.grid;
        for (std::size_t row = 0; row < grid.size(); ++row) {
            for (std::size_t col = row == 0 ? 1 : 0; col < 7; ++col)
                EXPECT_EQ(s.grid[row][col], grid[row][col]) << row << "," << col;
        }
        EXPECT_TRUE(w.errorBoxes().isEmpty());

        w.plan().failures.clear();
        EXPECT_NO_THROW(recover(w));
        EXPECT_EQ(w.snapshot(), ref.recovered);
        EXPECT_EQ(w.database().openStatementCount(), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Batches, FaultSweep, ::testing::ValuesIn(kVariants),
                         [](const auto& test) { return std::string(test.param.name); });

// The batches' calls without any failure: the sweep above covers each of them.
TEST(FaultSweepReference, TheBatchesMakeTheseCalls)
{
    auto runs = [](const Variant& v) {
        QStringList kinds;
        for (const QString& c : referenceRun(v).batchCalls) {
            const Routine* r = routineOf(c);
            kinds << (r ? r->name : c);
        }
        return kinds;
    };
    const QStringList first = {"Button1Click", "Button2Click", "Button3Click", "Button6Click",
                               "Button5Click", "Button8Click", "Button4Click", "disconnect"};
    const QStringList periodic = {"Button1Click", "Button2Click", "Button3Click", "Button6Click",
                                  "Button8Click", "Button4Click", "disconnect"};
    EXPECT_EQ(runs(kVariants[0]), first);
    EXPECT_EQ(runs(kVariants[1]), QStringList{"connect"} + first);
    EXPECT_EQ(runs(kVariants[2]), periodic);
    EXPECT_EQ(runs(kVariants[3]), QStringList{"connect"} + periodic);
}

} // namespace
} // namespace kvet::testing
