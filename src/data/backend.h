#pragma once
// The seam under the connection: one database engine (SQL Server over ODBC in
// production, SQLite for the demo, a scripted player in tests). Every failure
// is thrown as DatabaseError with the message the status cell will show.
#include "data/value.h"

namespace kvet {

class Backend {
public:
    virtual ~Backend() = default;
    // Opens a session described by the program's connection string
    // ("Provider=SQLOLEDB.1;Password=...;Data Source=..." and so on).
    virtual void connect(const QString& connectionString) = 0;
    // Ends the session; no effect when none is open.
    virtual void disconnect() = 0;
    virtual bool isConnected() const = 0;
    // Runs a statement that returns rows and fetches all of them.
    virtual ResultSet run(const QString& statement) = 0;
    // Runs a command that returns no rows (CREATE VIEW).
    virtual void execute(const QString& statement) = 0;
};

} // namespace kvet
