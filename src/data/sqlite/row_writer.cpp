#include "data/sqlite/row_writer.h"

namespace kvet::sqlite {

RowWriter::RowWriter(sqlite3* db, const char* insertSql)
    : db_(db), statement_(prepare(db, QByteArray(insertSql)))
{
}

RowWriter& RowWriter::text(const QByteArray& value)
{
    if (value.isNull())
        return null();
    sqlite3_bind_text(statement_.get(), next_++, value.constData(), int(value.size()),
                      SQLITE_TRANSIENT);
    return *this;
}

RowWriter& RowWriter::staticText(const char* value)
{
    if (!value)
        return null();
    sqlite3_bind_text(statement_.get(), next_++, value, -1, SQLITE_STATIC);
    return *this;
}

RowWriter& RowWriter::integer(std::optional<std::int64_t> value)
{
    if (!value)
        return null();
    sqlite3_bind_int64(statement_.get(), next_++, *value);
    return *this;
}

RowWriter& RowWriter::real(double value)
{
    sqlite3_bind_double(statement_.get(), next_++, value);
    return *this;
}

RowWriter& RowWriter::null()
{
    sqlite3_bind_null(statement_.get(), next_++);
    return *this;
}

void RowWriter::write()
{
    const int rc = sqlite3_step(statement_.get());
    const QString failure = rc == SQLITE_DONE ? QString() : QString::fromUtf8(sqlite3_errmsg(db_));
    const int code = sqlite3_extended_errcode(db_);
    sqlite3_reset(statement_.get());
    sqlite3_clear_bindings(statement_.get());
    next_ = 1;
    if (rc != SQLITE_DONE)
        throwError(failure, code);
}

} // namespace kvet::sqlite
