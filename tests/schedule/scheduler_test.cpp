#include "schedule/scheduler.h"

#include "data/failure.h"

#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace kvet {
namespace {

using Trace = std::vector<std::string>;

// Fake window: records every hook call and fails where a test tells it to.
struct FakeWindow {
    Trace trace;
    int openFailures = 0;         // the next n opens fail
    bool closeFails = false;
    std::set<std::string> failingRoutines;
    bool probePasses = true;
    bool probeThrows = false;
    bool scrollThrows = false;
    std::function<void()> duringPump;
    std::function<void()> duringScroll;
    std::function<void()> duringUncaught;

    std::function<void()> routine(const std::string& name)
    {
        return [this, name] {
            trace.push_back(name);
            if (failingRoutines.count(name))
                throw DatabaseError(QString::fromStdString(name + " failed"));
        };
    }

    SchedulerHooks hooks()
    {
        SchedulerHooks h;
        h.openConnection = [this] {
            trace.push_back("open");
            if (openFailures > 0) {
                --openFailures;
                throw DatabaseError(QStringLiteral("服务器不存在或拒绝访问"));
            }
        };
        h.closeConnection = [this] {
            trace.push_back("close");
            if (closeFails)
                throw DatabaseError(QStringLiteral("close failed"));
        };
        h.showStatus = [this](const QString& m) { trace.push_back("status:" + m.toStdString()); };
        h.probe = [this] {
            trace.push_back("probe");
            if (probeThrows)
                throw std::runtime_error("probe broke");
            return probePasses;
        };
        h.scrollStep = [this] {
            trace.push_back("scroll");
            if (duringScroll)
                duringScroll();
            if (scrollThrows)
                throw DatabaseError(QStringLiteral("refill close failed"));
        };
        for (const char* name : {"B1", "B2", "B3", "B6", "B5", "B8", "B4"})
            h.firstRefresh.push_back(routine(name));
        for (const char* name : {"B1", "B2", "B3", "B6", "B8", "B4"})
            h.periodicRefresh.push_back(routine(name));
        h.pump = [this] {
            trace.push_back("pump");
            if (duringPump)
                duringPump();
        };
        h.uncaught = [this](const QString& m) {
            trace.push_back("uncaught:" + m.toStdString());
            if (duringUncaught)
                duringUncaught();
        };
        return h;
    }

    long count(const std::string& entry) const { return std::count(trace.begin(), trace.end(), entry); }
};

class SchedulerTest : public ::testing::Test {
protected:
    FakeWindow window;
    std::unique_ptr<Scheduler> scheduler = std::make_unique<Scheduler>(window.hooks());

    // The probe has passed: both batches are switched on.
    void passProbe()
    {
        scheduler->start();
        scheduler->Timer4Timer();
        window.trace.clear();
    }
};

TEST_F(SchedulerTest, TimersAtStart)
{
    const QTimer* timers[] = {&scheduler->timer1(), &scheduler->timer2(), &scheduler->timer3(),
                              &scheduler->timer4()};
    const int intervals[] = {100, 500, 600000, 500};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(timers[i]->objectName(), QStringLiteral("Timer%1").arg(i + 1));
        EXPECT_EQ(timers[i]->interval(), intervals[i]);
        EXPECT_FALSE(timers[i]->isActive());
    }
    scheduler->start();
    EXPECT_TRUE(scheduler->timer1().isActive());
    EXPECT_FALSE(scheduler->timer2().isActive());
    EXPECT_FALSE(scheduler->timer3().isActive());
    EXPECT_TRUE(scheduler->timer4().isActive());
}

TEST_F(SchedulerTest, FirstRefreshRunsEveryPanelBetweenOneOpenAndClose)
{
    passProbe();
    scheduler->Timer2Timer();
    EXPECT_EQ(window.trace, (Trace{"open", "B1", "pump", "B2", "pump", "B3", "pump", "B6", "pump",
                                   "B5", "pump", "B8", "pump", "B4", "close"}));
    EXPECT_EQ(window.count("pump"), 6);
    EXPECT_FALSE(scheduler->timer2().isActive());
    EXPECT_TRUE(scheduler->timer3().isActive());
}

TEST_F(SchedulerTest, PeriodicRefreshLeavesTheTickerToItself)
{
    passProbe();
    scheduler->Timer3Timer();
    EXPECT_EQ(window.trace, (Trace{"open", "B1", "pump", "B2", "pump", "B3", "pump", "B6", "pump",
                                   "B8", "pump", "B4", "close"}));
    EXPECT_EQ(window.count("pump"), 5);
    EXPECT_TRUE(scheduler->timer3().isActive());
}

TEST_F(SchedulerTest, FirstRefreshRetriesUntilTheConnectionOpens)
{
    passProbe();
    window.openFailures = 2;
    for (int attempt = 0; attempt < 2; ++attempt) {
        window.trace.clear();
        scheduler->Timer2Timer();
        EXPECT_EQ(window.trace, (Trace{"open", "status:服务器不存在或拒绝访问", "close"}));
        EXPECT_TRUE(scheduler->timer2().isActive());
    }
    window.trace.clear();
    scheduler->Timer2Timer();
    EXPECT_EQ(window.count("B4"), 1);
    EXPECT_FALSE(scheduler->timer2().isActive());
}

TEST_F(SchedulerTest, PeriodicFailureLeavesTheConnectionAsItIs)
{
    passProbe();
    window.openFailures = 1;
    scheduler->Timer3Timer();
    EXPECT_EQ(window.trace, (Trace{"open", "status:服务器不存在或拒绝访问"}));
}

TEST_F(SchedulerTest, FailureLeavingARoutineEndsTheBatch)
{
    passProbe();
    window.failingRoutines = {"B3"};
    scheduler->Timer2Timer();
    EXPECT_EQ(window.trace, (Trace{"open", "B1", "pump", "B2", "pump", "B3", "status:B3 failed", "close"}));

    window.trace.clear();
    window.failingRoutines = {"B1"}; // e.g. the payment-channel view repair fails
    scheduler->Timer3Timer();
    EXPECT_EQ(window.trace, (Trace{"open", "B1", "status:B1 failed"}));
}

TEST_F(SchedulerTest, FailingCloseInFirstRefreshFailurePathReachesTheErrorBox)
{
    passProbe();
    window.openFailures = 1;
    window.closeFails = true;
    scheduler->Timer2Timer();
    EXPECT_EQ(window.trace,
              (Trace{"open", "status:服务器不存在或拒绝访问", "close", "uncaught:close failed"}));
    EXPECT_TRUE(scheduler->timer2().isActive());
}

TEST_F(SchedulerTest, NonStandardExceptionStillShowsAMessage)
{
    passProbe();
    scheduler = std::make_unique<Scheduler>([this] {
        SchedulerHooks h = window.hooks();
        h.openConnection = [] { throw 42; };
        return h;
    }());
    scheduler->Timer3Timer();
    ASSERT_EQ(window.trace.size(), 1u);
    EXPECT_GT(window.trace[0].size(), std::string("status:").size());
}

TEST_F(SchedulerTest, ProbeSuccessSwitchesTheBatchesOnOnce)
{
    scheduler->start();
    scheduler->Timer4Timer();
    EXPECT_EQ(window.trace, (Trace{"probe"}));
    EXPECT_FALSE(scheduler->timer4().isActive());
    EXPECT_TRUE(scheduler->timer2().isActive());
    EXPECT_TRUE(scheduler->timer3().isActive());

    scheduler->Timer2Timer(); // the first refresh switches Timer2 off ...
    scheduler->Timer4Timer(); // ... and a stray probe event must not switch it on again
    EXPECT_EQ(window.count("probe"), 1);
    EXPECT_FALSE(scheduler->timer2().isActive());
    EXPECT_FALSE(scheduler->timer4().isActive());
}

TEST_F(SchedulerTest, FailedProbeRetriesEveryTenSeconds)
{
    scheduler->start();
    window.probePasses = false;
    for (int attempt = 0; attempt < 2; ++attempt) {
        scheduler->Timer4Timer();
        EXPECT_TRUE(scheduler->timer4().isActive());
        EXPECT_EQ(scheduler->timer4().interval(), 10000);
        EXPECT_FALSE(scheduler->timer2().isActive());
        EXPECT_FALSE(scheduler->timer3().isActive());
    }
    window.probePasses = true;
    scheduler->Timer4Timer();
    EXPECT_EQ(window.count("probe"), 3);
    EXPECT_FALSE(scheduler->timer4().isActive());
    EXPECT_TRUE(scheduler->timer2().isActive());
    EXPECT_TRUE(scheduler->timer3().isActive());
}

// Retries of a failed probe ask first whether the server answers, without
// blocking; only an answer lets the blocking probe run again.
TEST_F(SchedulerTest, ProbeRetriesWaitForTheServersAnswer)
{
    SchedulerHooks h = window.hooks();
    std::function<void(bool)> pending;
    h.whenServerAnswers = [&](std::function<void(bool)> done) {
        window.trace.push_back("ask");
        pending = std::move(done);
    };
    scheduler = std::make_unique<Scheduler>(h);
    scheduler->start();
    window.probePasses = false;
    scheduler->Timer4Timer(); // the first probe is not gated
    EXPECT_EQ(window.trace, (Trace{"probe"}));

    scheduler->Timer4Timer();
    scheduler->Timer4Timer(); // a second event while the question is open is dropped
    EXPECT_EQ(window.trace, (Trace{"probe", "ask"}));
    EXPECT_FALSE(scheduler->timer4().isActive());
    std::exchange(pending, nullptr)(false);
    EXPECT_TRUE(scheduler->timer4().isActive());
    EXPECT_EQ(scheduler->timer4().interval(), 10000);
    EXPECT_EQ(window.count("probe"), 1);

    window.probePasses = true;
    scheduler->Timer4Timer();
    std::exchange(pending, nullptr)(true);
    EXPECT_EQ(window.trace, (Trace{"probe", "ask", "ask", "probe"}));
    EXPECT_TRUE(scheduler->timer2().isActive());
    EXPECT_TRUE(scheduler->timer3().isActive());
}

TEST_F(SchedulerTest, ProbeThatThrowsIsReportedAndRetried)
{
    scheduler->start();
    window.probeThrows = true;
    scheduler->Timer4Timer();
    EXPECT_EQ(window.trace, (Trace{"probe", "uncaught:probe broke"}));
    EXPECT_TRUE(scheduler->timer4().isActive());
    EXPECT_FALSE(scheduler->timer2().isActive());
}

TEST_F(SchedulerTest, BatchDoesNotRunInsideItsOwnPass)
{
    passProbe();
    window.duringPump = [this] {
        scheduler->Timer2Timer();
        scheduler->Timer3Timer();
    };
    scheduler->Timer2Timer();
    EXPECT_EQ(window.count("open"), 1);
    EXPECT_EQ(window.count("B1"), 1);
    EXPECT_EQ(window.count("close"), 1);

    window.trace.clear();
    scheduler->Timer3Timer();
    EXPECT_EQ(window.count("open"), 1);
    EXPECT_EQ(window.count("B1"), 1);
}

TEST_F(SchedulerTest, TickerStepsRunInsideABatchPass)
{
    passProbe();
    window.duringPump = [this] { scheduler->Timer1Timer(); };
    scheduler->Timer2Timer();
    EXPECT_EQ(window.count("scroll"), 6);
    EXPECT_EQ(window.trace.back(), "close");
}

TEST_F(SchedulerTest, RefillFailingInsideAPassDoesNotEndTheBatch)
{
    passProbe();
    window.scrollThrows = true;
    window.duringPump = [this] { scheduler->Timer1Timer(); };
    scheduler->Timer3Timer();
    EXPECT_EQ(window.count("uncaught:refill close failed"), 5);
    EXPECT_EQ(window.count("B4"), 1);
    EXPECT_EQ(window.trace.back(), "close");
}

TEST_F(SchedulerTest, ScrollStepDoesNotNestAndItsFailureReachesTheErrorBox)
{
    window.duringScroll = [this] { scheduler->Timer1Timer(); };
    window.scrollThrows = true;
    scheduler->start();
    scheduler->Timer1Timer();
    EXPECT_EQ(window.trace, (Trace{"scroll", "uncaught:refill close failed"}));
    EXPECT_TRUE(scheduler->timer1().isActive());
}

TEST_F(SchedulerTest, TickerGoesOnWhileAnErrorBoxIsOpenWithoutStackingBoxes)
{
    window.scrollThrows = true;
    window.duringUncaught = [this] {
        // The box's own message loop delivers further scroll ticks.
        scheduler->Timer1Timer();
        scheduler->Timer1Timer();
    };
    scheduler->Timer1Timer();
    EXPECT_EQ(window.trace, (Trace{"scroll", "uncaught:refill close failed", "scroll",
                                   "status:refill close failed", "scroll",
                                   "status:refill close failed"}));
    window.trace.clear();
    window.duringUncaught = nullptr;
    scheduler->Timer1Timer(); // the box is closed: the next failure gets one again
    EXPECT_EQ(window.count("uncaught:refill close failed"), 1);
}

TEST_F(SchedulerTest, WindowClosedInsideABatchPassEndsTheBatchQuietly)
{
    passProbe();
    window.duringPump = [this] { scheduler.reset(); };
    auto* raw = scheduler.get();
    raw->Timer2Timer();
    EXPECT_EQ(window.trace, (Trace{"open", "B1", "pump"}));
}

} // namespace
} // namespace kvet

namespace kvet {
namespace {

TEST_F(SchedulerTest, FirstRefreshDoneIsReportedOnceAfterTheBatchThatConnected)
{
    int done = 0;
    SchedulerHooks hooks = window.hooks();
    hooks.firstRefreshDone = [&] { ++done; };
    scheduler = std::make_unique<Scheduler>(hooks);
    passProbe();
    window.openFailures = 1;
    scheduler->Timer2Timer(); // the connection did not open: not done yet
    EXPECT_EQ(done, 0);
    window.failingRoutines = {"B3"}; // a batch that ended early still counts as run
    scheduler->Timer2Timer();
    EXPECT_EQ(done, 1);
    scheduler->Timer3Timer();
    EXPECT_EQ(done, 1);
}

TEST_F(SchedulerTest, StopEndsTheRunningBatchAfterItsRoutineAndSilencesEveryTimer)
{
    passProbe();
    window.duringPump = [&] { scheduler->stop(); };
    scheduler->Timer2Timer();
    EXPECT_EQ(window.trace, (Trace{"open", "B1", "pump", "close"}));
    for (const QTimer* t : {&scheduler->timer1(), &scheduler->timer2(), &scheduler->timer3(), &scheduler->timer4()})
        EXPECT_FALSE(t->isActive());
}

} // namespace
} // namespace kvet
