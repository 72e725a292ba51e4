// When kvet-keeper starts kvet again after kvet has ended. Pure arithmetic, so
// that it is tested on Linux; the Win32 side is in main.cpp.
//
// kvet ends with exit code 0 only when someone meant it to: the double-click on
// the banner, or a second kvet in the session that handed over to the first.
// Any other end (a crash, the process killed, an exit code of Qt's or the C
// runtime's) leaves the hall's wall dark, so kvet is started again after a
// pause. A kvet that keeps failing at once (a broken install, a missing DLL)
// must not flash the screen every ten seconds for months: after a few quick
// failures in a row the pause doubles, up to five minutes, and a run that lasted
// a while counts as a fresh start.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <optional>

namespace kvet::keeper {

struct Restart {
    bool again = false;              // false: kvet ended on purpose, the keeper ends too
    std::chrono::seconds pause{0};   // how long to wait before starting kvet again
};

class RestartPolicy {
public:
    static constexpr std::chrono::seconds firstPause{10};
    static constexpr std::chrono::seconds longestPause{300};
    // A run at least this long was not a failure at start: the count of quick
    // failures begins again.
    static constexpr std::chrono::seconds steadyRun{120};
    // This many quick failures in a row wait the first pause; each further one
    // waits twice as long as the one before.
    static constexpr int quickFailuresAtFirstPause = 3;

    // exitCode: kvet's exit code, or nothing when kvet.exe could not be started
    // at all (treated as a failure that ran for no time). ran: how long it ran.
    Restart afterEnd(std::optional<std::uint32_t> exitCode, std::chrono::milliseconds ran)
    {
        if (exitCode && *exitCode == 0)
            return {};
        if (!exitCode || ran < steadyRun)
            quickFailures_ = std::min(quickFailures_ + 1, quickFailuresAtFirstPause + 16);
        else
            quickFailures_ = 1;
        std::chrono::seconds pause = firstPause;
        for (int i = quickFailuresAtFirstPause; i < quickFailures_ && pause < longestPause; ++i)
            pause *= 2;
        return {true, std::min(pause, longestPause)};
    }

private:
    int quickFailures_ = 0;
};

} // namespace kvet::keeper
