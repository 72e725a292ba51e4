#pragma once
// What the stand-in's "server" does with a batch: the program's T-SQL runs on
// an SQLite database of the billing schema through the program's own
// translations (the four CREATE VIEWs create views there); whatever SQLite
// rejects comes back as SQL Server would word it.
#include "data/sqlite/sqlite_backend.h"
#include "tds_standin/tds_tokens.h"
#include "tds_standin/tds_types.h"

#include <memory>
#include <mutex>
#include <optional>

namespace kvet::tds {

struct BatchOutcome {
    std::optional<ServerMessage> error;
    bool hasResult = false;
    std::vector<WireColumn> columns;
    ResultSet result;
};

class StatementRunner {
public:
    explicit StatementRunner(std::unique_ptr<SqliteBackend> database);

    BatchOutcome run(const QString& batch, const QString& database, const QString& user);

    void setTypeChoice(const TypeChoice& choice);
    void setCreateViewDenied(bool denied);
    // SQL run directly on the database, as another program on the server would.
    void sql(const QString& statement);
    ResultSet query(const QString& statement);

private:
    BatchOutcome serverStatement(const QString& text, const QString& database, const QString& user, bool* handled);

    std::mutex mutex_;
    std::unique_ptr<SqliteBackend> database_;
    TypeChoice choice_;
    bool createViewDenied_ = false;
};

// SQLite's message for a failed statement, as SQL Server's message.
ServerMessage serverMessageFor(const QString& sqliteMessage, const QString& statement);

} // namespace kvet::tds
