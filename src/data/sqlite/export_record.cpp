#include "data/sqlite/export_record.h"

#include "data/sqlite/row_writer.h"
#include "data/sqlite/sqlite_handles.h"
#include "data/sqlite/sqlite_values.h"

namespace kvet::sqlite {

void writeExportMoment(sqlite3* db, const QDateTime& serverNow)
{
    exec(db, "CREATE TABLE kvet_export (server_now DATETIME)");
    RowWriter(db, "INSERT INTO kvet_export (server_now) VALUES (?)").text(formatLocalDateTime(serverNow)).write();
}

std::optional<QDateTime> readExportMoment(sqlite3* db)
{
    // Asked of the catalogue first: a file that is no export simply has no
    // such table, which is not a failure.
    StatementHandle table = prepare(
        db, QByteArray("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = 'kvet_export' COLLATE NOCASE"));
    if (!table || sqlite3_step(table.get()) != SQLITE_ROW)
        return std::nullopt;
    StatementHandle row = prepare(db, QByteArray("SELECT server_now FROM kvet_export LIMIT 1"));
    if (!row || sqlite3_step(row.get()) != SQLITE_ROW || sqlite3_column_type(row.get(), 0) != SQLITE_TEXT)
        return std::nullopt;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(row.get(), 0)));
    const QDateTime moment = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!moment.isValid())
        return std::nullopt;
    return moment;
}

} // namespace kvet::sqlite
