#pragma once
// The sample billing database that lets the dashboard run without SQL Server:
// a mid-size utility's accounts, a year of payments and this year's bills,
// made up relative to a given moment and the same for the same date and seed.
#include "data/sqlite/sqlite_backend.h"

#include <QDateTime>
#include <QString>
#include <memory>
#include <optional>

namespace kvet::sqlite {

inline constexpr quint32 kDemoSeed = 20240611;

// The utility of the sample, as sf_sb_.zls holds it.
QString demoUtilityName();

// Creates the demo tables in db (which must not have them) and fills them,
// in one transaction.
void populateDemoDatabase(sqlite3* db, const QDateTime& now, quint32 seed = kDemoSeed);

} // namespace kvet::sqlite

namespace kvet {

// The connection string kvet-demo and kvet-check --demo hand the connection;
// the SQLite backend does not read it.
inline QString demoConnectionString() { return QStringLiteral("Provider=SQLite;Data Source=kvet-demo"); }

// A fresh in-memory sample database. With views, the four reporting views are
// created the way the view repair creates them: by executing their stored
// definitions. clock stands for the server's getdate(); empty: the local time.
std::unique_ptr<SqliteBackend> createDemoBackend(const QDateTime& now, bool withViews,
                                                 SqliteBackend::Clock clock = {});

// An existing database file of the demo schema, used as it is.
std::unique_ptr<SqliteBackend> openDemoFile(const QString& path, SqliteBackend::Clock clock = {});

// The same with getdate() pinned: at `at` when given, else at the server's
// time recorded in a file that kvet-check --export wrote, else the local
// clock as openDemoFile has it. Pinned means fixed: the screen reads as it
// did at that moment for as long as the demo runs.
std::unique_ptr<SqliteBackend> openDemoFileAt(const QString& path, const std::optional<QDateTime>& at);

// Writes the sample (tables only, no views) as a new database file. Fails,
// writing nothing, when the file exists.
void writeDemoDatabase(const QString& path, const QDateTime& now);

} // namespace kvet
