#pragma once
// Polls `done` until it holds or `ms` milliseconds have passed; its last
// answer. For tests that watch another process or thread (a program under
// test, a stand-in server) without an event to wait on.
#include <QDeadlineTimer>
#include <QThread>
#include <functional>

namespace kvet::testing {

inline bool waitFor(const std::function<bool()>& done, int ms)
{
    const QDeadlineTimer deadline(ms);
    while (!done() && !deadline.hasExpired())
        QThread::msleep(50);
    return done();
}

} // namespace kvet::testing
