#include "screen/scheduler.h"

#include "data/failure.h"

#include <QPointer>

namespace kvet {

namespace {

// Marks a handler as running for as long as it runs. The window may be closed
// inside a batch's message-loop pass; the flag is then left alone.
class BusyFlag {
public:
    BusyFlag(Scheduler* owner, bool& flag) : owner_(owner), flag_(flag) { flag_ = true; }
    ~BusyFlag()
    {
        if (owner_)
            flag_ = false;
    }
    BusyFlag(const BusyFlag&) = delete;
    BusyFlag& operator=(const BusyFlag&) = delete;

private:
    QPointer<Scheduler> owner_;
    bool& flag_;
};

// Runs `body` with `busy` set; the message of a failure that leaves it.
template <typename Body>
std::optional<QString> runWhileBusy(Scheduler* owner, bool& busy, Body body)
{
    BusyFlag flag(owner, busy);
    try {
        body();
    } catch (...) {
        return currentFailureMessage();
    }
    return std::nullopt;
}

void setUpTimer(QTimer& timer, const char* name, int intervalMs)
{
    timer.setObjectName(QString::fromLatin1(name));
    timer.setInterval(intervalMs);
}

} // namespace

Scheduler::Scheduler(SchedulerHooks hooks, SchedulerIntervals intervals, QObject* parent)
    : QObject(parent), hooks_(std::move(hooks)), intervals_(intervals)
{
    setUpTimer(timer1_, "Timer1", intervals_.scrollMs);
    setUpTimer(timer2_, "Timer2", intervals_.firstRefreshMs);
    setUpTimer(timer3_, "Timer3", intervals_.periodicMs);
    setUpTimer(timer4_, "Timer4", intervals_.probeMs);
    // The ticker moves one pixel per tick; an even pace keeps the scroll smooth.
    timer1_.setTimerType(Qt::PreciseTimer);
    connect(&timer1_, &QTimer::timeout, this, &Scheduler::Timer1Timer);
    connect(&timer2_, &QTimer::timeout, this, &Scheduler::Timer2Timer);
    connect(&timer3_, &QTimer::timeout, this, &Scheduler::Timer3Timer);
    connect(&timer4_, &QTimer::timeout, this, &Scheduler::Timer4Timer);
}

void Scheduler::start()
{
    timer1_.start();
    if (!probePassed_)
        timer4_.start(intervals_.probeMs);
}

void Scheduler::stop()
{
    stopped_ = true;
    timer1_.stop();
    timer2_.stop();
    timer3_.stop();
    timer4_.stop();
}

void Scheduler::Timer1Timer()
{
    if (scrolling_)
        return;
    QPointer<Scheduler> self(this);
    const std::optional<QString> escaped = runWhileBusy(this, scrolling_, [this] {
        if (hooks_.scrollStep)
            hooks_.scrollStep();
    });
    if (self && escaped)
        reportUncaught(*escaped);
}

void Scheduler::Timer2Timer()
{
    if (batchRunning_)
        return;
    if (!runBatch(hooks_.firstRefresh, BatchKind::First))
        return;
    // The batch ran once the connection opened (Timer2 is then off for good).
    if (!timer2_.isActive() && !firstRefreshReported_ && !stopped_) {
        firstRefreshReported_ = true;
        if (hooks_.firstRefreshDone)
            hooks_.firstRefreshDone();
    }
}

void Scheduler::Timer3Timer()
{
    if (batchRunning_)
        return;
    runBatch(hooks_.periodicRefresh, BatchKind::Periodic);
}

void Scheduler::Timer4Timer()
{
    if (probing_)
        return;
    timer4_.stop();
    if (probePassed_)
        return;
    QPointer<Scheduler> self(this);
    bool passed = false;
    const std::optional<QString> escaped =
        runWhileBusy(this, probing_, [&] { passed = hooks_.probe ? hooks_.probe() : true; });
    if (!self)
        return;
    if (stopped_) {
        // The window closed while the probe ran: no timer starts again.
    } else if (passed) {
        probePassed_ = true;
        timer2_.start();
        timer3_.start();
    } else {
        // A wall PC may start before the network or the database server is up:
        // keep trying, more slowly, until the database answers.
        timer4_.start(intervals_.probeRetryMs);
    }
    if (escaped)
        reportUncaught(*escaped);
}

// A failure goes to the status cell. The first refresh closes the connection
// after it (a failing close there is caught by nobody: it goes to the error
// box); the periodic one leaves the connection as the failure left it, and the
// next query or batch opens it again when it is closed.
bool Scheduler::runBatch(const std::vector<std::function<void()>>& routines, BatchKind kind)
{
    QPointer<Scheduler> self(this);
    std::optional<QString> escaped;
    {
        BusyFlag busy(this, batchRunning_);
        try {
            if (hooks_.openConnection)
                hooks_.openConnection();
            // Only a connection that opened ends the first refresh's retries.
            if (kind == BatchKind::First)
                timer2_.stop();
            if (!runRoutines(routines))
                return false;
            if (hooks_.closeConnection)
                hooks_.closeConnection();
        } catch (...) {
            const QString message = currentFailureMessage();
            if (!self)
                return false;
            showStatusOrKeep(message, escaped);
            if (kind == BatchKind::First) {
                try {
                    if (hooks_.closeConnection)
                        hooks_.closeConnection();
                } catch (...) {
                    if (!escaped)
                        escaped = currentFailureMessage();
                }
            }
        }
    }
    if (self && escaped)
        reportUncaught(*escaped);
    return !self.isNull();
}

// Runs the routines in order with one message-loop pass between two of them,
// so finished charts repaint and the ticker moves on during a batch. A failure
// leaving a routine ends the batch. False when the scheduler was destroyed in
// a pass (the window closed): the caller must then touch nothing of it.
bool Scheduler::runRoutines(const std::vector<std::function<void()>>& routines)
{
    QPointer<Scheduler> self(this);
    const std::size_t count = routines.size();
    for (std::size_t i = 0; i < count && !stopped_; ++i) {
        if (routines[i])
            routines[i]();
        if (!self)
            return false;
        if (i + 1 == count || stopped_)
            break;
        if (hooks_.pump)
            hooks_.pump();
        if (!self)
            return false;
    }
    return true;
}

void Scheduler::showStatusOrKeep(const QString& message, std::optional<QString>& escaped)
{
    try {
        if (hooks_.showStatus)
            hooks_.showStatus(message);
    } catch (...) {
        if (!escaped)
            escaped = currentFailureMessage();
    }
}

void Scheduler::reportUncaught(const QString& message)
{
    if (reportingUncaught_) {
        // An error box is already open further up this thread's stack.
        try {
            if (hooks_.showStatus)
                hooks_.showStatus(message);
        } catch (...) {
        }
        return;
    }
    QPointer<Scheduler> self(this);
    reportingUncaught_ = true;
    try {
        if (hooks_.uncaught)
            hooks_.uncaught(message);
    } catch (...) {
        // The error box is the last place a failure can be shown; a failure
        // while showing it has nowhere left to go.
    }
    if (self)
        reportingUncaught_ = false;
}

} // namespace kvet
