#include "support/faulty_backend.h"

#include "data/failure.h"
#include "support/scripted_backend.h"

namespace kvet::testing {

int FaultPlan::count(CallKind kind) const
{
    int n = 0;
    for (const BackendCall& c : calls)
        n += c.kind == kind ? 1 : 0;
    return n;
}

QStringList FaultPlan::describe(int from) const
{
    QStringList out;
    for (std::size_t i = std::size_t(std::max(from, 1)) - 1; i < calls.size(); ++i)
        out << testing::describe(calls[i]);
    return out;
}

QString describe(const BackendCall& call)
{
    switch (call.kind) {
    case CallKind::Connect: return QStringLiteral("connect");
    case CallKind::Disconnect: return QStringLiteral("disconnect");
    case CallKind::Run: return QStringLiteral("run: ") + folded(call.statement);
    case CallKind::Execute: return QStringLiteral("execute: ") + folded(call.statement);
    }
    return {};
}

FaultyBackend::FaultyBackend(std::unique_ptr<Backend> inner, std::shared_ptr<FaultPlan> plan)
    : inner_(std::move(inner)), plan_(std::move(plan))
{
}

void FaultyBackend::enter(CallKind kind, const QString& statement)
{
    const int number = ++plan_->numbered;
    if (plan_->beforeCall)
        plan_->beforeCall(number, kind);
    BackendCall call{kind, statement, false, {}};
    std::optional<QString> failure;
    bool linkLost = false;
    if (auto it = plan_->failures.find(number); it != plan_->failures.end()) {
        failure = it->second;
    } else if (plan_->brokenSession && (kind == CallKind::Run || kind == CallKind::Execute)) {
        failure = plan_->brokenSession;
        linkLost = true;
    }
    if (failure) {
        call.failed = true;
        call.message = *failure;
    }
    if (plan_->keepLog)
        plan_->calls.push_back(call);
    if (linkLost) {
        // As the ODBC backend does on a lost link: the session ends with the
        // failing statement, and the next statement connects afresh.
        inner_->disconnect();
        plan_->brokenSession.reset();
    }
    if (failure)
        throw DatabaseError(*failure, QStringLiteral("08S01"));
}

void FaultyBackend::connect(const QString& connectionString)
{
    enter(CallKind::Connect);
    passOn([&] { inner_->connect(connectionString); });
    plan_->brokenSession.reset();
}

void FaultyBackend::disconnect()
{
    enter(CallKind::Disconnect);
    passOn([&] { inner_->disconnect(); });
}

ResultSet FaultyBackend::run(const QString& statement)
{
    enter(CallKind::Run, statement);
    ResultSet result;
    passOn([&] { result = inner_->run(statement); });
    return result;
}

void FaultyBackend::execute(const QString& statement)
{
    enter(CallKind::Execute, statement);
    passOn([&] { inner_->execute(statement); });
}

void FaultyBackend::passOn(const std::function<void()>& call)
{
    try {
        call();
    } catch (const std::exception& e) {
        // A real failure of the database underneath (a view that exists, a
        // refused connection) is logged like an injected one.
        if (plan_->keepLog && !plan_->calls.empty()) {
            plan_->calls.back().failed = true;
            plan_->calls.back().message = messageOf(e);
        }
        throw;
    }
}

} // namespace kvet::testing
