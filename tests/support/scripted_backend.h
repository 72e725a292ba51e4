#pragma once
// A backend for tests that plays back results and failures and records every
// call it receives. The test keeps the shared Script after handing the backend
// to a Connection.
#include "data/backend.h"
#include "data/failure.h"

#include <QStringList>
#include <functional>
#include <memory>

namespace kvet::testing {

struct Script {
    QStringList calls; // "connect", "disconnect", "run: <text>", "execute: <text>"
    bool connected = false;
    // Each may throw (e.g. DatabaseError) to script a failure.
    std::function<void()> onConnect;
    std::function<ResultSet(const QString& statement)> onRun;
    std::function<void(const QString& statement)> onExecute;

    int count(const QString& prefix) const;
};

class ScriptedBackend : public Backend {
public:
    explicit ScriptedBackend(std::shared_ptr<Script> script) : script_(std::move(script)) {}
    void connect(const QString& connectionString) override;
    void disconnect() override;
    bool isConnected() const override { return script_->connected; }
    ResultSet run(const QString& statement) override;
    void execute(const QString& statement) override;

private:
    std::shared_ptr<Script> script_;
};

// Builds a result from column names and rows; kinds follow the first non-null value.
ResultSet table(const QStringList& columns, const std::vector<std::vector<Value>>& rows);

// Folds white space runs to one blank and trims, for comparing statements.
QString folded(const QString& statement);

} // namespace kvet::testing
