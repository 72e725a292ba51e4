#include "data/sqlite/sqlite_handles.h"

#include "data/failure.h"

namespace kvet::sqlite {

namespace {

QString cleaned(QString message)
{
    while (!message.isEmpty() && (message.back().isSpace() || message.back() == '.'))
        message.chop(1);
    return message;
}

} // namespace

void throwError(const QString& message, int resultCode)
{
    throw DatabaseError(cleaned(message), QString(), resultCode);
}

void throwError(sqlite3* db, int resultCode)
{
    const char* text = db ? sqlite3_errmsg(db) : sqlite3_errstr(resultCode);
    const int code = db ? sqlite3_extended_errcode(db) : resultCode;
    throwError(QString::fromUtf8(text), code);
}

DatabaseHandle openDatabase(const QString& fileName, int flags)
{
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(fileName.toUtf8().constData(), &raw, flags, nullptr);
    DatabaseHandle db(raw); // closed on every path, also when the open failed
    if (rc != SQLITE_OK) {
        const QString reason = QString::fromUtf8(raw ? sqlite3_errmsg(raw) : sqlite3_errstr(rc));
        throwError(QStringLiteral("%1: %2").arg(fileName, reason), rc);
    }
    sqlite3_extended_result_codes(raw, 1);
    return db;
}

StatementHandle prepare(sqlite3* db, const char* sql, int bytes, const char** tail)
{
    sqlite3_stmt* raw = nullptr;
    const int rc = sqlite3_prepare_v2(db, sql, bytes, &raw, tail);
    StatementHandle statement(raw);
    if (rc != SQLITE_OK)
        throwError(db, rc);
    return statement;
}

void exec(sqlite3* db, const char* sql)
{
    char* error = nullptr;
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, &error);
    if (rc != SQLITE_OK) {
        const QString message = QString::fromUtf8(error ? error : sqlite3_errstr(rc));
        sqlite3_free(error);
        throwError(message, rc);
    }
}

Transaction::Transaction(sqlite3* db) : db_(db)
{
    exec(db_, "BEGIN");
}

Transaction::~Transaction()
{
    if (open_)
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::commit()
{
    exec(db_, "COMMIT");
    open_ = false;
}

int openStatementCount(sqlite3* db)
{
    int count = 0;
    for (sqlite3_stmt* s = sqlite3_next_stmt(db, nullptr); s; s = sqlite3_next_stmt(db, s))
        ++count;
    return count;
}

} // namespace kvet::sqlite
