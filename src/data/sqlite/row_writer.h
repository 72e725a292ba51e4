#pragma once
// One prepared INSERT, reused for every row: bind the columns in order, then
// write. Text is bound as UTF-8; a null QByteArray binds NULL.
#include "data/sqlite/sqlite_handles.h"

#include <cstdint>
#include <optional>

namespace kvet::sqlite {

class RowWriter {
public:
    RowWriter(sqlite3* db, const char* insertSql);

    RowWriter& text(const QByteArray& value);
    RowWriter& text(const QString& value) { return text(value.toUtf8()); }
    // Bound without a copy: value must stay valid until write(); nullptr binds NULL.
    RowWriter& staticText(const char* value);
    RowWriter& integer(std::optional<std::int64_t> value);
    RowWriter& real(double value);
    RowWriter& null();
    void write(); // runs the INSERT and starts the next row

private:
    sqlite3* db_;
    StatementHandle statement_;
    int next_ = 1;
};

} // namespace kvet::sqlite
