#pragma once
// Where the dashboard is in its unattended run, as one value with named
// transitions: the start-up probe until the database answers, the first full
// refresh until the connection opens, then the periodic refresh alone.
//
//   AwaitingProbe --probeFailed--> ProbeRetrying --serverAnswered--> ProbeOnAnswer
//   ProbeOnAnswer --probeFailed / answerUsed--> ProbeRetrying
//   AwaitingProbe, ProbeRetrying, ProbeOnAnswer --probePassed--> FirstRefresh
//   FirstRefresh --firstRefreshRan--> Periodic
//   any --stop--> Stopped
//
// A transition asked for in a phase it does not leave changes nothing.
namespace kvet {

enum class RunPhase {
    AwaitingProbe, // created: Timer4's first probe is due
    ProbeRetrying, // a probe failed (the server down, or not up yet): each retry first asks whether it answers
    ProbeOnAnswer, // the server answered that question: the probe runs at once
    FirstRefresh,  // the probe passed: Timer2 retries the first full refresh until the connection opens
    Periodic,      // the first full refresh ran and was reported; Timer3 alone refreshes
    Stopped,       // the window is closing: no timer starts again
};

class RunState {
public:
    RunPhase phase() const { return phase_; }
    bool probeHasPassed() const { return phase_ == RunPhase::FirstRefresh || phase_ == RunPhase::Periodic; }
    bool stopped() const { return phase_ == RunPhase::Stopped; }

    void probeFailed()
    {
        if (probing())
            phase_ = RunPhase::ProbeRetrying;
    }
    void serverAnswered()
    {
        if (phase_ == RunPhase::ProbeRetrying)
            phase_ = RunPhase::ProbeOnAnswer;
    }
    // The probe the answer was for has run (or could not): the next retry asks again.
    void answerUsed()
    {
        if (phase_ == RunPhase::ProbeOnAnswer)
            phase_ = RunPhase::ProbeRetrying;
    }
    void probePassed()
    {
        if (probing())
            phase_ = RunPhase::FirstRefresh;
    }
    // True once: the batch that connected is the one reported.
    bool firstRefreshRan()
    {
        if (phase_ != RunPhase::FirstRefresh)
            return false;
        phase_ = RunPhase::Periodic;
        return true;
    }
    void stop() { phase_ = RunPhase::Stopped; }

private:
    bool probing() const
    {
        return phase_ == RunPhase::AwaitingProbe || phase_ == RunPhase::ProbeRetrying ||
               phase_ == RunPhase::ProbeOnAnswer;
    }

    RunPhase phase_ = RunPhase::AwaitingProbe;
};

} // namespace kvet
