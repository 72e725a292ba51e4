#include "data/sqlite/demo_database.h"

#include "data/dashboard_sql.h"
#include "data/failure.h"
#include "data/sqlite/demo_ledger.h"
#include "data/sqlite/demo_sample_size.h"
#include "data/sqlite/demo_schema.h"
#include "data/sqlite/export_record.h"
#include "data/sqlite/row_writer.h"

#include <QFile>
#include <QFileInfo>

namespace kvet::sqlite {

QString demoUtilityName()
{
    return QStringLiteral("澜川市自来水公司");
}

void populateDemoDatabase(sqlite3* db, const QDateTime& now, quint32 seed)
{
    populateDemoDatabase(db, now, seed, kDemoAccountCount);
}

void populateDemoDatabase(sqlite3* db, const QDateTime& now, quint32 seed, int accountCount)
{
    if (!now.isValid())
        throw Failure(QStringLiteral("The sample data need a valid date and time"));
    DemoRandom random(seed);
    Transaction transaction(db);
    createDemoSchema(db);
    RowWriter(db, "INSERT INTO sf_sb_ (zls, help) VALUES (?, ?)")
        .text(demoUtilityName())
        .text(QStringLiteral("服务热线 96116"))
        .write();
    const std::vector<DemoAccount> accounts = writeDemoAccounts(db, now, random, accountCount);
    writeDemoPayments(db, accounts, now, random);
    writeDemoBills(db, accounts, now, random);
    createDemoIndexes(db);
    transaction.commit();
}

} // namespace kvet::sqlite

namespace kvet {

namespace {

void removePartial(const QString& partial)
{
    QFile::remove(partial);
    QFile::remove(partial + QStringLiteral("-journal"));
}

} // namespace

std::unique_ptr<SqliteBackend> createDemoBackend(const QDateTime& now, bool withViews,
                                                 SqliteBackend::Clock clock)
{
    auto backend = SqliteBackend::temporary(std::move(clock));
    sqlite::populateDemoDatabase(backend->handle(), now);
    if (withViews) {
        backend->connect(QString());
        for (ReportingView view : kAllReportingViews)
            backend->execute(viewDefinitionText(view));
        backend->disconnect();
    }
    return backend;
}

std::unique_ptr<SqliteBackend> openDemoFile(const QString& path, SqliteBackend::Clock clock)
{
    return SqliteBackend::openFile(path, std::move(clock));
}

std::unique_ptr<SqliteBackend> openDemoFileAt(const QString& path, const std::optional<QDateTime>& at)
{
    // The recorded moment is only known once the file is open, and the
    // backend takes its clock at creation: the clock reads a slot filled
    // right after.
    auto pinned = std::make_shared<std::optional<QDateTime>>(at);
    auto backend = SqliteBackend::openFile(
        path, [pinned] { return pinned->has_value() ? **pinned : QDateTime::currentDateTime(); });
    if (!pinned->has_value())
        *pinned = sqlite::readExportMoment(backend->handle());
    return backend;
}

void writeDemoDatabase(const QString& path, const QDateTime& now)
{
    writeDemoDatabase(path, now, sqlite::kDemoAccountCount);
}

void writeDemoDatabase(const QString& path, const QDateTime& now, int accounts)
{
    // Written beside the target and renamed when complete, so that a failure
    // leaves no half-written file and an existing file is never replaced.
    const QString partial = path + QStringLiteral(".partial");
    for (const QString& name : {path, partial}) {
        if (QFileInfo::exists(name))
            throw Failure(QStringLiteral("%1: the file exists already and is left as it is").arg(name));
    }
    // Made in the file itself rather than in memory first, so that a sample
    // of any size needs no more memory than the page cache and the accounts'
    // list.
    try {
        sqlite::DatabaseHandle db = sqlite::openDatabase(partial, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        // The partial file is removed on any failure: waiting for the disk
        // would save nothing.
        sqlite::exec(db.get(), "PRAGMA synchronous=OFF");
        // Room for the indexes' sorting at the end without spilling to
        // temporary files; given back when the file is closed.
        sqlite::exec(db.get(), "PRAGMA cache_size=-32768");
        sqlite::populateDemoDatabase(db.get(), now, sqlite::kDemoSeed, accounts);
    } catch (const DatabaseError& e) {
        removePartial(partial);
        throw DatabaseError(QStringLiteral("%1: %2").arg(path, e.message()), e.state(), e.nativeCode());
    } catch (...) {
        removePartial(partial);
        throw;
    }
    if (!QFile::rename(partial, path)) {
        QFile::remove(partial);
        throw Failure(QStringLiteral("%1: the file could not be written").arg(path));
    }
}

} // namespace kvet
