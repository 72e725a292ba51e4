#include "tds/stand_in_fixture.h"

#include "data/failure.h"
#include "data/sqlite/demo_database.h"
#include "data/sqlite/sqlite_handles.h"
#include "data/odbc/odbc_test_drivers.h"

#include <map>

namespace kvet::testing {

QDateTime standInMoment()
{
    return QDateTime(QDate(2026, 6, 15), QTime(10, 30, 0));
}

std::unique_ptr<SqliteBackend> sampleCopy(bool withViews)
{
    // Making the sample takes a while; copying it in memory a few milliseconds.
    static std::map<bool, std::unique_ptr<SqliteBackend>> samples;
    const QDateTime moment = standInMoment();
    auto& sample = samples[withViews];
    if (!sample)
        sample = createDemoBackend(moment, withViews, [moment] { return moment; });
    auto copy = SqliteBackend::inMemory([moment] { return moment; });
    sqlite3_backup* backup = sqlite3_backup_init(copy->handle(), "main", sample->handle(), "main");
    if (!backup)
        throw Failure(QStringLiteral("the sample could not be copied"));
    const int rc = sqlite3_backup_step(backup, -1);
    sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE)
        throw Failure(QStringLiteral("the sample could not be copied"));
    return copy;
}

QString programString(int port, const QString& user, const QString& password, const QString& database)
{
    return buildConnectionString(password, user, database, QStringLiteral("127.0.0.1,%1").arg(port));
}

void StandInTest::SetUp()
{
    if (test::odbcTestDrivers().freeTds.isEmpty())
        GTEST_SKIP() << "FreeTDS ODBC driver (tdsodbc) not installed";
    server = std::make_unique<tds::TdsStandIn>(sampleCopy());
    ASSERT_TRUE(server->start());
}

} // namespace kvet::testing
