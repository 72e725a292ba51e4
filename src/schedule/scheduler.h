#pragma once
// The four timers of the window and the two refresh batches. All of them fire
// on the user-interface thread; the scheduler knows no panel and no database,
// only the routines and connection hooks the window hands it.
#include "schedule/run_phase.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <optional>
#include <vector>

namespace kvet {

struct SchedulerHooks {
    std::function<void()> openConnection, closeConnection; // the shared connection; may throw
    std::function<bool()> connected; // whether the shared connection is open; missing counts as open
    std::function<void(const QString&)> showStatus;          // the status cell
    std::function<bool()> probe;   // the start-up probe; guards itself, true on success
    // Before each retry of a failed probe: finds out without blocking whether
    // the database server answers at all, and calls back with the answer
    // (possibly at once). Missing: every retry runs the probe.
    std::function<void(std::function<void(bool answered)>)> whenServerAnswers;
    std::function<void()> scrollStep; // the ticker's step; may throw from its failure path
    std::vector<std::function<void()>> firstRefresh;    // every panel's routine, in the panels table's order
    std::vector<std::function<void()>> periodicRefresh; // the same without the ticker's
    std::function<void()> pump;    // one message-loop pass (QCoreApplication::processEvents)
    std::function<void(const QString&)> uncaught; // a failure no routine catches: the error box
    std::function<void()> firstRefreshDone; // once, after the first full refresh batch that connected
};

struct SchedulerIntervals {
    int scrollMs = 100;
    int firstRefreshMs = 500;
    int periodicMs = 600000; // ten minutes
    int probeMs = 500;
    int probeRetryMs = 10000;
};

// Timer1 scrolls the ticker, Timer4 runs the start-up probe once it succeeds,
// Timer2 retries the first full refresh until the connection opens, Timer3 runs
// the periodic refresh. Empty hooks do nothing; a missing probe counts as passed.
//
// No handler ever runs inside itself: a timer event that arrives while its own
// handler is still busy (in a batch's message-loop pass, or a refill blocked in
// a query) is dropped. Only one batch runs at a time: a first or periodic
// refresh due inside the other batch's pass is skipped (the first refresh stays
// switched on and comes again half a second later; the periodic one ten minutes
// later, by which time the first refresh has filled every panel anyway). Ticker
// steps do run inside a batch's pass.
//
// No exception leaves a timer handler. A failure no routine catches goes to the
// uncaught hook after the handler has finished, so the timers go on while an
// error box is open; a second such failure while the box is still open is
// written to the status cell instead, so that boxes never pile up inside each
// other.
class Scheduler : public QObject {
    Q_OBJECT
public:
    explicit Scheduler(SchedulerHooks hooks, SchedulerIntervals intervals = {},
                       QObject* parent = nullptr);

    // Switches on the scroll timer and the probe timer, as the window does once
    // it has been created.
    void start();
    // Stops every timer for good (the window is closing); a batch that is
    // running ends after its current routine and closes the connection.
    void stop();

    const QTimer& timer1() const { return timer1_; }
    const QTimer& timer2() const { return timer2_; }
    const QTimer& timer3() const { return timer3_; }
    const QTimer& timer4() const { return timer4_; }

public Q_SLOTS:
    void Timer1Timer(); // ticker scroll step
    void Timer2Timer(); // first full refresh
    void Timer3Timer(); // periodic refresh
    void Timer4Timer(); // start-up probe

private:
    enum class BatchKind { First, Periodic };
    // One refresh batch on the shared connection; false when the scheduler
    // was destroyed while it ran.
    bool runBatch(const std::vector<std::function<void()>>& routines, BatchKind kind);
    bool runRoutines(const std::vector<std::function<void()>>& routines);
    bool connectedOrFalse() const; // the connected hook, false when it throws
    void askWhetherServerAnswers();
    void runProbe();
    void showStatusOrKeep(const QString& message, std::optional<QString>& escaped);
    void reportUncaught(const QString& message);

    SchedulerHooks hooks_;
    SchedulerIntervals intervals_;
    QTimer timer1_, timer2_, timer3_, timer4_;
    RunState state_;
    // Set while the handler runs, so that it never runs inside itself (the
    // probe's also while it waits for the server's answer).
    bool scrolling_ = false;
    bool probing_ = false;
    bool batchRunning_ = false;
    bool reportingUncaught_ = false;
};

} // namespace kvet
