#pragma once
// Owning wrappers for SQLite's handles, and the one place where an SQLite
// result code becomes a DatabaseError carrying SQLite's own message.
#include <QByteArray>
#include <QString>
#include <memory>
#include <sqlite3.h>

namespace kvet::sqlite {

struct DatabaseCloser {
    void operator()(sqlite3* db) const noexcept { sqlite3_close_v2(db); }
};
struct StatementFinalizer {
    void operator()(sqlite3_stmt* statement) const noexcept { sqlite3_finalize(statement); }
};

using DatabaseHandle = std::unique_ptr<sqlite3, DatabaseCloser>;
using StatementHandle = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

// Throws DatabaseError with the database's last message (trailing blanks and
// full stops removed, as every message the status cell shows) and the
// extended result code as native code.
[[noreturn]] void throwError(sqlite3* db, int resultCode);
[[noreturn]] void throwError(const QString& message, int resultCode);

// Opens a database; flags as for sqlite3_open_v2. Fails with the file name
// and SQLite's message.
DatabaseHandle openDatabase(const QString& fileName, int flags);

// Compiles the first statement of sql; *tail receives what follows it.
// A text without any statement gives an empty handle.
StatementHandle prepare(sqlite3* db, const char* sql, int bytes, const char** tail = nullptr);
inline StatementHandle prepare(sqlite3* db, const QByteArray& sql, const char** tail = nullptr)
{
    return prepare(db, sql.constData(), int(sql.size()), tail);
}

// Runs one or more statements that return no rows (schema scripts, BEGIN...).
void exec(sqlite3* db, const char* sql);

// BEGIN on construction; ROLLBACK unless commit() was called.
class Transaction {
public:
    explicit Transaction(sqlite3* db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    sqlite3* db_;
    bool open_ = true;
};

// Statements compiled on db and not yet finalized: a leak check for tests.
int openStatementCount(sqlite3* db);

} // namespace kvet::sqlite
