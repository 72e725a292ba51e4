#pragma once
// The seam under the connection: one database engine (SQL Server over ODBC in
// production, SQLite for the demo, a scripted player in tests). Every failure
// is thrown as DatabaseError with the message the status cell will show.
#include "data/value.h"

#include <cstddef>
#include <functional>

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
    // Runs a statement that returns rows and hands them on in pieces of at
    // most chunkRows rows, each with the result's columns, so that a large
    // table never lies in memory whole. An empty result gives no piece. This
    // default fetches everything first; engines that can do better do.
    virtual void stream(const QString& statement, std::size_t chunkRows,
                        const std::function<void(ResultSet&)>& piece)
    {
        ResultSet all = run(statement);
        ResultSet chunk;
        chunk.columns = all.columns;
        for (std::size_t i = 0; i < all.rows.size(); ++i) {
            chunk.rows.push_back(std::move(all.rows[i]));
            if (chunk.rows.size() >= chunkRows || i + 1 == all.rows.size()) {
                piece(chunk);
                chunk.rows.clear();
            }
        }
    }
    // Runs a command that returns no rows (CREATE VIEW).
    virtual void execute(const QString& statement) = 0;
};

} // namespace kvet
