// The run's phases: each transition leaves only the phases it names, so that
// a late answer, a second report or a probe after the stop changes nothing.
#include "schedule/run_phase.h"

#include <gtest/gtest.h>

namespace kvet {
namespace {

TEST(RunPhase, OutageThenRecoveryThenPeriodic)
{
    RunState s;
    EXPECT_EQ(s.phase(), RunPhase::AwaitingProbe);
    s.serverAnswered(); // nobody asked yet
    EXPECT_EQ(s.phase(), RunPhase::AwaitingProbe);
    s.probeFailed();
    EXPECT_EQ(s.phase(), RunPhase::ProbeRetrying);
    s.serverAnswered();
    EXPECT_EQ(s.phase(), RunPhase::ProbeOnAnswer);
    s.answerUsed();
    EXPECT_EQ(s.phase(), RunPhase::ProbeRetrying);
    s.serverAnswered();
    EXPECT_FALSE(s.firstRefreshRan()); // no batch before the probe passed
    s.probePassed();
    EXPECT_EQ(s.phase(), RunPhase::FirstRefresh);
    EXPECT_TRUE(s.probeHasPassed());
    s.probeFailed(); // a passed probe is not taken back
    s.answerUsed();
    EXPECT_EQ(s.phase(), RunPhase::FirstRefresh);
    EXPECT_TRUE(s.firstRefreshRan());
    EXPECT_FALSE(s.firstRefreshRan()); // reported once
    EXPECT_EQ(s.phase(), RunPhase::Periodic);
}

TEST(RunPhase, StopIsFinalFromEveryPhase)
{
    for (int steps = 0; steps < 4; ++steps) {
        RunState s;
        if (steps > 0)
            s.probeFailed();
        if (steps > 1)
            s.probePassed();
        if (steps > 2)
            s.firstRefreshRan();
        s.stop();
        s.probePassed();
        s.probeFailed();
        EXPECT_FALSE(s.firstRefreshRan());
        EXPECT_TRUE(s.stopped()) << steps;
        EXPECT_FALSE(s.probeHasPassed());
    }
}

} // namespace
} // namespace kvet
