#include "schedule/scheduler.h"

#include "data/failure.h"

#include <QElapsedTimer>
#include <QPointer>
#include <algorithm>

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
    if (!state_.probeHasPassed())
        timer4_.start(intervals_.probeMs);
}

void Scheduler::stop()
{
    state_.stop();
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
    if (!timer2_.isActive() && state_.firstRefreshRan() && hooks_.firstRefreshDone)
        hooks_.firstRefreshDone();
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
    if (state_.probeHasPassed() || state_.stopped())
        return;
    // A failed probe blocks the one thread for as long as the login waits (15 s
    // against a host that takes the connection and never answers). Retries
    // therefore first find out, without blocking, whether the server answers.
    if (state_.phase() == RunPhase::ProbeRetrying && hooks_.whenServerAnswers)
        askWhetherServerAnswers();
    else
        runProbe();
}

void Scheduler::askWhetherServerAnswers()
{
    QPointer<Scheduler> self(this);
    probing_ = true;
    const auto answered = [self](bool yes) {
        if (!self)
            return;
        self->probing_ = false;
        if (self->state_.stopped() || self->state_.probeHasPassed())
            return;
        if (!yes) {
            self->timer4_.start(self->intervals_.probeRetryMs);
            return;
        }
        self->state_.serverAnswered();
        self->Timer4Timer();
        if (self)
            self->state_.answerUsed();
    };
    try {
        hooks_.whenServerAnswers(answered);
    } catch (...) {
        // Asking is an optimisation: when it cannot be asked, the probe is.
        if (self && probing_)
            answered(true);
    }
}

void Scheduler::runProbe()
{
    QPointer<Scheduler> self(this);
    bool passed = false;
    const bool onAnswer = state_.phase() == RunPhase::ProbeOnAnswer;
    QElapsedTimer blocked;
    blocked.start();
    const std::optional<QString> escaped =
        runWhileBusy(this, probing_, [&] { passed = hooks_.probe ? hooks_.probe() : true; });
    if (!self)
        return;
    if (state_.stopped()) {
        // The window closed while the probe ran: no timer starts again.
    } else if (passed) {
        state_.probePassed();
        timer2_.start();
        timer3_.start();
    } else {
        // A wall PC may start before the network or the database server is up:
        // keep trying, more slowly, until the database answers. Retries that
        // ask first cost the screen nothing while the server is silent. A
        // probe that blocked for long all the same (no way to ask, or a server
        // that answers but does not let the login in) waits up to nine times
        // as long, but no more than 100 s, so that the charts still fill
        // within two minutes of the server coming back.
        state_.probeFailed();
        qint64 waitMs = intervals_.probeRetryMs;
        if (!hooks_.whenServerAnswers || onAnswer)
            waitMs = std::max<qint64>(waitMs, std::min<qint64>(9 * blocked.elapsed(), 100000));
        timer4_.start(int(waitMs));
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
                // The session the probe left open can die before this batch
                // uses it: the open had nothing to do, and the batch ends at
                // its first panel with the connection gone. Then it has not
                // run; it is retried half a second later like a connection
                // that did not open.
                if (!state_.stopped() && hooks_.connected && !connectedOrFalse())
                    timer2_.start();
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
    for (std::size_t i = 0; i < count && !state_.stopped(); ++i) {
        if (routines[i])
            routines[i]();
        if (!self)
            return false;
        if (i + 1 == count || state_.stopped())
            break;
        if (hooks_.pump)
            hooks_.pump();
        if (!self)
            return false;
    }
    return true;
}

bool Scheduler::connectedOrFalse() const
{
    try {
        return hooks_.connected();
    } catch (...) {
        return false;
    }
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
