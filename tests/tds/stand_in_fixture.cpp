#include "tds/stand_in_fixture.h"

#include "data/failure.h"
#include "data/sqlite/demo_database.h"
#include "data/sqlite/sqlite_handles.h"
#include "data/odbc/odbc_test_drivers.h"
#include "support/sample_copy.h"

#include <QElapsedTimer>
#include <map>

namespace kvet::testing {

QDateTime standInMoment()
{
    return QDateTime(QDate(2026, 6, 15), QTime(10, 30, 0));
}

std::unique_ptr<SqliteBackend> sampleCopy(bool withViews)
{
    const QDateTime moment = standInMoment();
    return copyOfSample(moment, withViews, [moment] { return moment; });
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

DatabaseError failureOf(const std::function<void()>& call, qint64* elapsedMs)
{
    QElapsedTimer timer;
    timer.start();
    try {
        call();
    } catch (const DatabaseError& e) {
        if (elapsedMs)
            *elapsedMs = timer.elapsed();
        return e;
    }
    ADD_FAILURE() << "no failure";
    return DatabaseError(QString());
}

} // namespace kvet::testing
