#pragma once
// SQL Server through ODBC: the production engine behind kvet::Backend.
//
// connect() takes the program's OLE DB connection string, picks the best
// installed SQL Server driver (or the one the string names, see
// odbc_connection_string.h) and logs in with SQLDriverConnectW, never
// prompting. Statements go to the server as UTF-16; every result is fetched
// whole. Every failure is a DatabaseError carrying the driver's first error
// text without its component tags, plus SQLSTATE and native code.
#include "data/backend.h"
#include "data/failure.h"
#include "data/odbc/odbc_connection_string.h"
#include "data/odbc/odbc_handles.h"

#include <QStringList>

namespace kvet {

class OdbcBackend : public Backend {
public:
    struct Timeouts {
        int loginSeconds = odbc::kLoginTimeoutSeconds;
        int commandSeconds = odbc::kCommandTimeoutSeconds;
    };

    OdbcBackend();
    explicit OdbcBackend(Timeouts timeouts);
    ~OdbcBackend() override;
    OdbcBackend(const OdbcBackend&) = delete;
    OdbcBackend& operator=(const OdbcBackend&) = delete;

    // Ends any open session first.
    void connect(const QString& connectionString) override;
    void disconnect() override;
    bool isConnected() const override;
    ResultSet run(const QString& statement) override;
    // Fetches as it hands on: one piece in memory at a time.
    void stream(const QString& statement, std::size_t chunkRows,
                const std::function<void(ResultSet&)>& piece) override;
    void execute(const QString& statement) override;

    // Names of the ODBC drivers the driver manager knows.
    QStringList installedDrivers();

private:
    SQLHENV environment();
    odbc::StatementHandle executeDirect(const QString& statement);
    // Skips the row counts ahead of a SELECT; false when no result has columns.
    bool toFirstResultWithColumns(odbc::StatementHandle& handle);
    [[noreturn]] void failOnStatement(odbc::StatementHandle& statement);
    // Frees the statement and throws; a session whose link is gone is ended
    // first, so that the next open connects afresh.
    [[noreturn]] void fail(const DatabaseError& error, odbc::StatementHandle& statement,
                           bool reportedLost = false);
    // Whether the session's link is gone after a failure: as its records
    // said, or as the driver's dead flag says.
    bool linkIsGone(bool reportedLost) const;

    Timeouts timeouts_;
    odbc::EnvironmentHandle environment_;
    odbc::Session session_;
};

} // namespace kvet
