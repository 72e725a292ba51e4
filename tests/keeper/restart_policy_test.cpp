// When kvet-keeper brings kvet back, and how long it waits.
#include "restart_policy.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

using namespace std::chrono_literals;
using kvet::keeper::RestartPolicy;

namespace {

constexpr auto quick = 3s;
constexpr auto steady = RestartPolicy::steadyRun;

} // namespace

TEST(RestartPolicy, ExitCodeZeroEndsTheKeeperEvenAfterFailures)
{
    RestartPolicy policy;
    EXPECT_FALSE(policy.afterEnd(0u, 5h).again);
    for (int i = 0; i < 10; ++i)
        policy.afterEnd(0xC0000005u, quick); // access violation
    EXPECT_FALSE(policy.afterEnd(0u, quick).again);
}

TEST(RestartPolicy, AnyOtherEndRestartsAfterTheFirstPause)
{
    // 1: TerminateProcess from Task Manager or taskkill /F; 0xC0000409: a
    // fast-fail abort; 0xFFFFFFFF: a code that is not a small number.
    for (const std::uint32_t code : {1u, 0xC0000409u, 0xFFFFFFFFu}) {
        RestartPolicy policy;
        const auto restart = policy.afterEnd(code, 3h);
        EXPECT_TRUE(restart.again) << code;
        EXPECT_EQ(restart.pause, RestartPolicy::firstPause) << code;
    }
}

TEST(RestartPolicy, QuickFailuresBackOffToFiveMinutesAndStayThere)
{
    RestartPolicy policy;
    std::vector<std::chrono::seconds> pauses;
    for (int i = 0; i < 200; ++i) {
        const auto restart = policy.afterEnd(i % 2 ? std::optional<std::uint32_t>{} : 3u, quick);
        ASSERT_TRUE(restart.again);
        pauses.push_back(restart.pause);
    }
    const std::vector<std::chrono::seconds> start{10s, 10s, 10s, 20s, 40s, 80s, 160s, 300s, 300s};
    EXPECT_EQ(std::vector(pauses.begin(), pauses.begin() + 9), start);
    for (const auto pause : pauses)
        EXPECT_LE(pause, RestartPolicy::longestPause); // never an overflow to a short or negative wait
    EXPECT_EQ(pauses.back(), RestartPolicy::longestPause);
}

TEST(RestartPolicy, ASteadyRunStartsTheCountAgain)
{
    RestartPolicy policy;
    for (int i = 0; i < 8; ++i)
        policy.afterEnd(1u, quick);
    EXPECT_EQ(policy.afterEnd(1u, steady).pause, RestartPolicy::firstPause);
    EXPECT_EQ(policy.afterEnd(1u, quick).pause, RestartPolicy::firstPause);
    EXPECT_EQ(policy.afterEnd(1u, quick).pause, RestartPolicy::firstPause);
    EXPECT_EQ(policy.afterEnd(1u, quick).pause, 20s);
    // Just short of steady still counts as quick.
    EXPECT_EQ(policy.afterEnd(1u, steady - 1s).pause, 40s);
}
