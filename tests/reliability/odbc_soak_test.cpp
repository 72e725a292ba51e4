// The production backend's handles over many sessions and statements. There
// is no SQL Server here, so it runs on the SQLite3 ODBC driver (libsqliteodbc),
// named by its library path in the "ODBC;" pass-through string. A month of
// the dashboard is about 90 000 statements and 45 000 sessions; this runs
// 20 000 statements, a session for every ten and a failing statement for
// every fifty, and fails when resident memory grows by more than 1 MB after
// the first quarter (a leaked statement or connection handle holds several
// kilobytes in the driver manager and the driver).
#include "data/failure.h"
#include "data/odbc/odbc_backend.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <gtest/gtest.h>

#if defined(Q_OS_LINUX)
#include <unistd.h>
#endif

#if defined(__SANITIZE_ADDRESS__)
#define KVET_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KVET_UNDER_ASAN 1
#endif
#endif

namespace kvet {
namespace {

double residentMb()
{
#if defined(Q_OS_LINUX)
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        const int read = std::fscanf(f, "%ld %ld", &pages, &resident);
        std::fclose(f);
        if (read == 2)
            return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
    }
#endif
    return -1;
}

QString sqliteOdbcDriver()
{
    for (const char* dir : {"/usr/lib/x86_64-linux-gnu/odbc", "/usr/lib/aarch64-linux-gnu/odbc", "/usr/lib/odbc",
                            "/usr/lib64", "/usr/local/lib"}) {
        const QString path = QDir(QString::fromLatin1(dir)).filePath(QStringLiteral("libsqlite3odbc.so"));
        if (QFile::exists(path))
            return path;
    }
    return {};
}

TEST(OdbcSoak, SessionsStatementsAndFailuresLeaveNoHandleBehind)
{
    const QString driver = sqliteOdbcDriver();
    if (driver.isEmpty())
        GTEST_SKIP() << "SQLite3 ODBC driver (libsqliteodbc) not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString connection =
        QStringLiteral("ODBC;DRIVER={%1};Database=%2").arg(driver, dir.filePath(QStringLiteral("soak.db")));

    OdbcBackend backend;
    backend.connect(connection);
    backend.execute(QStringLiteral("CREATE TABLE sf_sr (lsh INTEGER, hm VARCHAR(20), je REAL, rq DATETIME)"));
    for (int i = 0; i < 30; ++i)
        backend.execute(QStringLiteral("INSERT INTO sf_sr VALUES (%1, '用户%1', %1.5, '2026-06-15 10:%2:00')")
                            .arg(i)
                            .arg(i, 2, 10, QLatin1Char('0')));

    const int statements = 20000;
    double warm = -1;
    int failures = 0;
    for (int i = 1; i <= statements; ++i) {
        if (i == statements / 4)
            warm = residentMb();
        if (i % 10 == 0) {
            backend.disconnect();
            backend.connect(connection);
        }
        if (i % 50 == 0) {
            try {
                backend.run(QStringLiteral("select top 15 lsh from sf_sr")); // T-SQL the driver refuses
            } catch (const DatabaseError&) {
                ++failures;
            }
            continue;
        }
        const ResultSet r = backend.run(QStringLiteral("SELECT lsh, hm, je, rq FROM sf_sr ORDER BY lsh DESC LIMIT 15"));
        ASSERT_EQ(r.rows.size(), 15u);
    }
    backend.disconnect();
    const double end = residentMb();
    std::printf("odbc soak: %d statements, %d failed as meant, resident %.2f MB after a quarter, %.2f MB at the end\n",
                statements, failures, warm, end);
    EXPECT_EQ(failures, statements / 50);
#ifndef KVET_UNDER_ASAN
    if (warm >= 0)
        EXPECT_LE(end - warm, 1.0) << "resident memory grew";
#endif
}

} // namespace
} // namespace kvet
