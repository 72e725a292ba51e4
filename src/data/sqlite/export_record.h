#pragma once
// The note kvet-check's export leaves in the file it writes: the server's
// clock at the moment of the export, so that kvet-demo can show the file as
// the hall saw it then (the 30-day window and the current year move with
// the clock). One table of one row, kvet_export (server_now DATETIME), as
// local-time text 'YYYY-MM-DD HH:MM:SS'.
#include <QDateTime>
#include <optional>
#include <sqlite3.h>

namespace kvet::sqlite {

// Creates the table and writes its row; fails when the table exists.
void writeExportMoment(sqlite3* db, const QDateTime& serverNow);

// The recorded moment; nullopt for a file without the table or with no
// readable moment in it.
std::optional<QDateTime> readExportMoment(sqlite3* db);

} // namespace kvet::sqlite
