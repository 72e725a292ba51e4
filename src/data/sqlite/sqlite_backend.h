#pragma once
// The demo's database engine: one SQLite database, either a file or an
// in-memory database that lives as long as the backend, so that its data
// survive every connect and disconnect of the program's connection. Sessions
// are a flag; the connection string is not read.
//
// The program's T-SQL statements reach SQLite through the table of
// equivalents (sqlite_translations.h); SQL Server's clock is the local clock,
// or the one a test pins.
#include "data/backend.h"
#include "data/sqlite/sqlite_handles.h"

#include <QDateTime>
#include <functional>
#include <memory>

namespace kvet {

class SqliteBackend : public Backend {
public:
    using Clock = std::function<QDateTime()>;

    // An empty in-memory database. Without a clock, getdate() is the local time.
    static std::unique_ptr<SqliteBackend> inMemory(Clock clock = {});
    // An empty private database that SQLite keeps in a temporary file of its
    // own, deleted when the backend closes it: for a database of many MB that
    // lives for months, only SQLite's page cache (a few MB) stays in memory,
    // the rest in the file system's cache.
    static std::unique_ptr<SqliteBackend> temporary(Clock clock = {});
    // An existing SQLite database file, read and written in place. Fails with
    // the file's name and SQLite's reason when it is missing or no database.
    static std::unique_ptr<SqliteBackend> openFile(const QString& path, Clock clock = {});

    ~SqliteBackend() override;
    SqliteBackend(const SqliteBackend&) = delete;
    SqliteBackend& operator=(const SqliteBackend&) = delete;

    void connect(const QString& connectionString) override;
    void disconnect() override;
    bool isConnected() const override { return connected_; }
    ResultSet run(const QString& statement) override;
    void execute(const QString& statement) override;

    // The moment getdate() stands for (the clock given at creation, pinned by a
    // test or the demo); fixed for the length of each statement.
    QDateTime now() const;

    // Outage in tests: connect() fails with message while set.
    void setRefuseConnections(bool refuse, const QString& message = defaultRefusalMessage());
    static QString defaultRefusalMessage();

    // Statements compiled and not yet released; 0 between calls.
    int openStatementCount() const;

    // The database itself, for filling it with sample data.
    sqlite3* handle() const { return db_.get(); }

private:
    SqliteBackend(sqlite::DatabaseHandle db, Clock clock);
    void requireSession() const;
    struct Compiled;
    Compiled compile(const QString& statement);
    static void nowFunction(sqlite3_context* context, int argc, sqlite3_value** argv);

    sqlite::DatabaseHandle db_;
    Clock clock_;
    QString statementNow_; // set while a statement runs
    bool connected_ = false;
    bool refuseConnections_ = false;
    QString refusalMessage_;
};

} // namespace kvet
