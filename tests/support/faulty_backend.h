#pragma once
// A backend for tests that passes every call on to a real one (the demo's
// SQLite database) and fails the calls a test picks, by their number, with a
// given message. Calls are connect, disconnect, run and execute, counted from 1
// in the order they arrive; isConnected() is a question, not a call. A failed
// call does nothing: a failed connect leaves the session closed, a failed
// disconnect leaves it open, a failed run or execute sends nothing.
//
// It also stands in for a server that goes away in the middle of a session:
// breakSession() makes every run and execute fail until the next connect.
#include "data/backend.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <map>
#include <vector>

namespace kvet::testing {

enum class CallKind { Connect, Disconnect, Run, Execute };

struct BackendCall {
    CallKind kind;
    QString statement; // run and execute only
    bool failed = false;
    QString message;   // the failure's message when it failed
};

struct FaultPlan {
    static QString defaultMessage() { return QStringLiteral("[injected] 与服务器的连接中断"); }
    std::map<int, QString> failures; // call number → the message it fails with
    void failCall(int number, const QString& message = defaultMessage()) { failures[number] = message; }
    std::vector<BackendCall> calls; // every call so far, in order, while keepLog is set
    // Off for long runs: the log alone would grow by a few kilobytes per batch.
    bool keepLog = true;
    int numbered = 0; // calls so far, logged or not
    // Runs before each call with its number (from 1); it may change this plan
    // or the backend underneath (a server that goes down at that moment).
    std::function<void(int number, CallKind kind)> beforeCall;
    std::optional<QString> brokenSession;

    int callCount() const { return numbered; }
    int count(CallKind kind) const;
    // The calls from number `from` on (1-based), as "connect", "run: <folded text>"...
    QStringList describe(int from = 1) const;
};

class FaultyBackend : public Backend {
public:
    FaultyBackend(std::unique_ptr<Backend> inner, std::shared_ptr<FaultPlan> plan);

    void connect(const QString& connectionString) override;
    void disconnect() override;
    bool isConnected() const override { return inner_->isConnected(); }
    ResultSet run(const QString& statement) override;
    void execute(const QString& statement) override;

    Backend& inner() { return *inner_; }
    // From now until the next connect, run and execute fail with `message`.
    void breakSession(const QString& message) { plan_->brokenSession = message; }

private:
    // Logs the call; throws DatabaseError when it is one that must fail.
    void enter(CallKind kind, const QString& statement = {});
    // Runs the real call and logs its own failure, if any, before passing it on.
    void passOn(const std::function<void()>& call);

    std::unique_ptr<Backend> inner_;
    std::shared_ptr<FaultPlan> plan_;
};

QString describe(const BackendCall& call);

} // namespace kvet::testing
