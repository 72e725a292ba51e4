// The backend against a real driver: the SQLite3 ODBC driver, reached through
// the "ODBC;" pass-through with a database file in a temporary folder.
#include "data/odbc/odbc_backend.h"
#include "odbc_test_drivers.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kvet;

namespace {

class OdbcSqlite : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (test::odbcTestDrivers().sqlite.isEmpty())
            GTEST_SKIP() << "SQLite3 ODBC driver (libsqliteodbc) not installed";
        ASSERT_TRUE(dir.isValid());
        backend.connect(connectionString());
    }

    QString connectionString() const
    {
        return QStringLiteral("ODBC;DRIVER={%1};Database=%2")
            .arg(test::odbcTestDrivers().sqlite, dir.filePath(QStringLiteral("billing.db")));
    }

    QTemporaryDir dir;
    OdbcBackend backend;
};

TEST_F(OdbcSqlite, ReadsEachDeclaredTypeAsItsKind)
{
    // This driver declares no exact decimal type (DECIMAL comes as text,
    // NUMERIC as a double); decimal text is covered by the reader's own tests.
    backend.execute(QStringLiteral(
        "CREATE TABLE sf_sr (id INTEGER, flag BIT, rate REAL, name VARCHAR(40), paid DATETIME, "
        "day DATE, at TIME)"));
    backend.execute(QStringLiteral(
        "INSERT INTO sf_sr VALUES (9007199254740993, 1, 0.25, 'abc', '2024-03-05 14:07:09', "
        "'2024-03-05', '14:07:09')"));
    const ResultSet r = backend.run(QStringLiteral("SELECT * FROM sf_sr"));
    ASSERT_EQ(r.columns.size(), 7u);
    EXPECT_EQ(r.columns[0].name, QStringLiteral("id"));
    const ColumnKind kinds[] = {ColumnKind::Integer, ColumnKind::Integer, ColumnKind::Float,
                                ColumnKind::Text, ColumnKind::DateTime, ColumnKind::DateTime,
                                ColumnKind::DateTime};
    for (std::size_t i = 0; i < std::size(kinds); ++i)
        EXPECT_EQ(r.columns[i].kind, kinds[i]) << r.columns[i].name.toStdString();
    ASSERT_EQ(r.rows.size(), 1u);
    const auto& row = r.rows[0];
    EXPECT_EQ(row[0], Value(std::int64_t(9007199254740993)));
    EXPECT_EQ(row[1], Value(std::int64_t(1)));
    EXPECT_EQ(row[2], Value(0.25));
    EXPECT_EQ(row[3], Value(QStringLiteral("abc")));
    EXPECT_EQ(row[4], Value(QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9))));
    EXPECT_EQ(row[5], Value(QDateTime(QDate(2024, 3, 5), QTime(0, 0))));
    EXPECT_EQ(row[6], Value(QDateTime(QDate(1899, 12, 30), QTime(14, 7, 9))));
}

TEST_F(OdbcSqlite, ExpressionColumnsTakeTheKindTheDriverReports)
{
    const ResultSet r = backend.run(QStringLiteral("SELECT 1 + 1 AS hj, 'x' AS mc"));
    ASSERT_EQ(r.rows.size(), 1u);
    EXPECT_EQ(r.columns[0].kind, ColumnKind::Integer);
    EXPECT_EQ(r.rows[0][0], Value(std::int64_t(2)));
    EXPECT_EQ(r.rows[0][1], Value(QStringLiteral("x")));
}

TEST_F(OdbcSqlite, NullsReadAsNullInEveryKind)
{
    backend.execute(QStringLiteral(
        "CREATE TABLE t (i INTEGER, d DECIMAL(10,2), f REAL, s VARCHAR(10), w DATETIME, tm TIME)"));
    backend.execute(QStringLiteral("INSERT INTO t VALUES (NULL, NULL, NULL, NULL, NULL, NULL)"));
    const ResultSet r = backend.run(QStringLiteral("SELECT * FROM t"));
    ASSERT_EQ(r.rows.size(), 1u);
    for (const Value& v : r.rows[0])
        EXPECT_TRUE(isNull(v));
}

TEST_F(OdbcSqlite, ChineseTextAndNamesSurviveTheRoundTrip)
{
    backend.execute(QStringLiteral("CREATE TABLE 用水 (用水类别 VARCHAR(20), 数量 INTEGER)"));
    backend.execute(QStringLiteral("INSERT INTO 用水 VALUES ('居民生活用水', 12)"));
    const ResultSet r = backend.run(QStringLiteral("SELECT 用水类别, 数量 FROM 用水"));
    ASSERT_EQ(r.columns.size(), 2u);
    EXPECT_EQ(r.columns[0].name, QStringLiteral("用水类别"));
    EXPECT_EQ(r.columns[1].name, QStringLiteral("数量"));
    ASSERT_EQ(r.rows.size(), 1u);
    EXPECT_EQ(r.rows[0][0], Value(QStringLiteral("居民生活用水")));
}

TEST_F(OdbcSqlite, LongTextArrivesWholeAcrossReadPieces)
{
    // Longer than one read piece, with multi-byte characters across the seams.
    QString text;
    for (int i = 0; i < 3000; ++i)
        text += QStringLiteral("水a费");
    backend.execute(QStringLiteral("CREATE TABLE t (s TEXT)"));
    backend.execute(QStringLiteral("INSERT INTO t VALUES ('%1')").arg(text));
    const ResultSet r = backend.run(QStringLiteral("SELECT s FROM t"));
    ASSERT_EQ(r.rows.size(), 1u);
    EXPECT_EQ(r.rows[0][0], Value(text));
}

TEST_F(OdbcSqlite, AllRowsAreFetchedInOrderAndEmptyResultsKeepTheirColumns)
{
    backend.execute(QStringLiteral("CREATE TABLE t (n INTEGER)"));
    EXPECT_NO_THROW(backend.execute(QStringLiteral("DELETE FROM t"))); // touches no row
    backend.execute(QStringLiteral(
        "WITH RECURSIVE c(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM c WHERE n < 500) "
        "INSERT INTO t SELECT n FROM c"));
    const ResultSet r = backend.run(QStringLiteral("SELECT n FROM t ORDER BY n"));
    ASSERT_EQ(r.rows.size(), 500u);
    EXPECT_EQ(r.rows.front()[0], Value(std::int64_t(1)));
    EXPECT_EQ(r.rows.back()[0], Value(std::int64_t(500)));
    const ResultSet none = backend.run(QStringLiteral("SELECT n FROM t WHERE n < 0"));
    EXPECT_EQ(none.columns.size(), 1u);
    EXPECT_TRUE(none.rows.empty());
}

TEST_F(OdbcSqlite, SyntaxErrorGivesTheCleanedDriverMessage)
{
    try {
        backend.run(QStringLiteral("SELEC 1"));
        FAIL() << "a syntax error must fail";
    } catch (const DatabaseError& e) {
        EXPECT_FALSE(e.message().isEmpty());
        EXPECT_FALSE(e.message().startsWith(u'['));
        EXPECT_FALSE(e.message().endsWith(u'.') || e.message().endsWith(u' ')
                     || e.message().endsWith(u'\n'));
        EXPECT_TRUE(e.message().contains(QStringLiteral("syntax error"))) << e.message().toStdString();
        EXPECT_EQ(e.state().size(), 5);
    }
    EXPECT_TRUE(backend.isConnected());
}

TEST_F(OdbcSqlite, MissingColumnMissingViewAndExistingViewFail)
{
    backend.execute(QStringLiteral("CREATE TABLE t (a INTEGER)"));
    EXPECT_THROW(backend.run(QStringLiteral("SELECT hj FROM t")), DatabaseError);
    EXPECT_THROW(backend.run(QStringLiteral("SELECT * FROM V_W_dsj_jfqd")), DatabaseError);
    backend.execute(QStringLiteral("CREATE VIEW V_W_dsj_jfqd AS SELECT a FROM t"));
    EXPECT_THROW(backend.execute(QStringLiteral("CREATE VIEW V_W_dsj_jfqd AS SELECT a FROM t")),
                 DatabaseError);
    // The session stays usable after a failed statement.
    EXPECT_EQ(backend.run(QStringLiteral("SELECT a FROM t")).columns.size(), 1u);
}

TEST_F(OdbcSqlite, StatementsNeedAnOpenSession)
{
    backend.disconnect();
    EXPECT_FALSE(backend.isConnected());
    EXPECT_THROW(backend.run(QStringLiteral("SELECT 1")), DatabaseError);
    EXPECT_THROW(backend.execute(QStringLiteral("SELECT 1")), DatabaseError);
    EXPECT_NO_THROW(backend.disconnect());
    backend.connect(connectionString());
    EXPECT_TRUE(backend.isConnected());
}

TEST_F(OdbcSqlite, UnknownDriverFailsWithoutTheManagersTags)
{
    backend.disconnect();
    try {
        backend.connect(QStringLiteral("ODBC;DRIVER={kvet no such driver};Database=x"));
        FAIL() << "an unknown driver must fail";
    } catch (const DatabaseError& e) {
        EXPECT_FALSE(e.message().isEmpty());
        EXPECT_FALSE(e.message().startsWith(u'[')) << e.message().toStdString();
    }
    EXPECT_FALSE(backend.isConnected());
}

TEST_F(OdbcSqlite, UnopenableDatabaseFileFailsToConnect)
{
    backend.disconnect();
    const QString path = dir.filePath(QStringLiteral("no/such/folder/x.db"));
    EXPECT_THROW(backend.connect(QStringLiteral("ODBC;DRIVER={%1};Database=%2")
                                     .arg(test::odbcTestDrivers().sqlite, path)),
                 DatabaseError);
    EXPECT_FALSE(backend.isConnected());
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif
#else
constexpr bool kAddressSanitizer = false;
#endif

// Resident memory of this process, in kilobytes (Linux only).
long residentKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

TEST_F(OdbcSqlite, ThousandsOfSessionsLeaveNothingBehind)
{
    if (kAddressSanitizer)
        GTEST_SKIP() << "freed memory stays quarantined; LeakSanitizer checks leaks instead";
    backend.execute(QStringLiteral("CREATE TABLE t (s TEXT)"));
    backend.execute(QStringLiteral("INSERT INTO t VALUES ('营业收费')"));
    auto cycle = [&] {
        backend.disconnect();
        backend.connect(connectionString());
        backend.run(QStringLiteral("SELECT s FROM t"));
        try {
            backend.run(QStringLiteral("SELECT nope FROM t"));
        } catch (const DatabaseError&) {
        }
    };
    for (int i = 0; i < 300; ++i)
        cycle();
    const long before = residentKilobytes();
    if (before < 0)
        GTEST_SKIP() << "no /proc/self/status";
    for (int i = 0; i < 3000; ++i)
        cycle();
    // A leaked connection or statement handle costs kilobytes each time.
    EXPECT_LT(residentKilobytes() - before, 2048);
}

} // namespace
