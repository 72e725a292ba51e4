#include "data/failure.h"
#include "data/sqlite/sqlite_backend.h"
#include "data/sqlite/sqlite_values.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using kvet::ColumnKind;
using kvet::DatabaseError;
using kvet::SqliteBackend;

namespace {

const QDateTime kPinned(QDate(2024, 6, 15), QTime(10, 30, 0));

class SqliteBackendTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        backend = SqliteBackend::inMemory([] { return kPinned; });
        backend->connect(QStringLiteral("Provider=SQLOLEDB.1;Password=x;Data Source=nowhere"));
        backend->execute(QStringLiteral(
            "CREATE TABLE t (i INTEGER, r REAL, s TEXT, d DATETIME, n NUMERIC, b BLOB)"));
    }
    std::unique_ptr<SqliteBackend> backend;
};

} // namespace

TEST_F(SqliteBackendTest, ReadsValuesWithTheKindOfTheirDeclaredColumn)
{
    backend->execute(QStringLiteral(
        "INSERT INTO t VALUES (7, 2.5, '用水', '2024-06-01 08:09:10', 3, NULL), "
        "(NULL, NULL, NULL, NULL, NULL, NULL)"));
    const kvet::ResultSet rs = backend->run(QStringLiteral("select i, r, s, d, n from t"));
    ASSERT_EQ(rs.columns.size(), 5u);
    EXPECT_EQ(rs.columns[0].kind, ColumnKind::Integer);
    EXPECT_EQ(rs.columns[1].kind, ColumnKind::Float);
    EXPECT_EQ(rs.columns[2].kind, ColumnKind::Text);
    EXPECT_EQ(rs.columns[3].kind, ColumnKind::DateTime);
    EXPECT_EQ(rs.columns[4].kind, ColumnKind::Float);
    ASSERT_EQ(rs.rows.size(), 2u);
    EXPECT_EQ(rs.rows[0][0], kvet::Value(std::int64_t(7)));
    EXPECT_EQ(rs.rows[0][1], kvet::Value(2.5));
    EXPECT_EQ(rs.rows[0][2], kvet::Value(QStringLiteral("用水")));
    EXPECT_EQ(rs.rows[0][3], kvet::Value(QDateTime(QDate(2024, 6, 1), QTime(8, 9, 10))));
    for (const kvet::Value& v : rs.rows[1])
        EXPECT_TRUE(kvet::isNull(v));
}

TEST_F(SqliteBackendTest, ExpressionColumnsTakeTheKindOfTheirValues)
{
    backend->execute(QStringLiteral("INSERT INTO t (i, r) VALUES (NULL, NULL), (4, 1.5)"));
    const kvet::ResultSet sums =
        backend->run(QStringLiteral("select count(*) c, sum(r)/2 h, 'x' || 'y' s, NULL z from t"));
    EXPECT_EQ(sums.columns[0].kind, ColumnKind::Integer);
    EXPECT_EQ(sums.columns[1].kind, ColumnKind::Float);
    EXPECT_EQ(sums.columns[2].kind, ColumnKind::Text);
    // A column of NULLs only is a number: its NULL reads as 0, not as bad text.
    EXPECT_EQ(sums.columns[3].kind, ColumnKind::Float);
    // The first value that is not NULL decides.
    const kvet::ResultSet products = backend->run(QStringLiteral("select i*2 k from t order by k"));
    EXPECT_EQ(products.columns[0].kind, ColumnKind::Integer);
}

// A datetime column on SQL Server holds no other value: what is no date and
// time that exists reads as NULL.
TEST_F(SqliteBackendTest, DateTimeTextThatIsNoDateReadsAsNull)
{
    backend->execute(QStringLiteral("INSERT INTO t (d) VALUES ('unknown'), ('2024-02-30 10:00:00'), "
                                    "('2024-02-29 24:00:00'), ('2024-02-29T10:00:00.5')"));
    const kvet::ResultSet rs = backend->run(QStringLiteral("select d from t"));
    EXPECT_EQ(rs.columns[0].kind, ColumnKind::DateTime);
    EXPECT_TRUE(kvet::isNull(rs.rows[0][0]));
    EXPECT_TRUE(kvet::isNull(rs.rows[1][0]));
    EXPECT_TRUE(kvet::isNull(rs.rows[2][0]));
    EXPECT_EQ(rs.rows[3][0], kvet::Value(QDateTime(QDate(2024, 2, 29), QTime(10, 0, 0, 500))));
    const kvet::ResultSet normalised = backend->run(QStringLiteral("select kvet_datetime(d) from t"));
    EXPECT_TRUE(kvet::isNull(normalised.rows[1][0]));
    EXPECT_EQ(normalised.rows[3][0], kvet::Value(QStringLiteral("2024-02-29 10:00:00")));
}

TEST_F(SqliteBackendTest, GetdateIsThePinnedClockForTheWholeStatement)
{
    const kvet::ResultSet rs = backend->run(QStringLiteral("select kvet_now() a, kvet_now() b"));
    EXPECT_EQ(rs.rows.at(0).at(0), kvet::Value(QStringLiteral("2024-06-15 10:30:00")));
    EXPECT_EQ(rs.rows.at(0).at(1), rs.rows.at(0).at(0));
}

TEST_F(SqliteBackendTest, DataSurviveDisconnect)
{
    backend->execute(QStringLiteral("INSERT INTO t (i) VALUES (1)"));
    backend->disconnect();
    EXPECT_FALSE(backend->isConnected());
    backend->connect(QString());
    EXPECT_EQ(backend->run(QStringLiteral("select i from t")).rows.size(), 1u);
}

TEST_F(SqliteBackendTest, StatementsFailWithoutSession)
{
    backend->disconnect();
    EXPECT_THROW(backend->run(QStringLiteral("select 1")), DatabaseError);
    EXPECT_THROW(backend->execute(QStringLiteral("INSERT INTO t (i) VALUES (1)")), DatabaseError);
    backend->connect(QString());
    EXPECT_TRUE(backend->run(QStringLiteral("select i from t")).rows.empty());
}

TEST_F(SqliteBackendTest, RefusedConnectionFailsWithItsMessage)
{
    backend->disconnect();
    backend->setRefuseConnections(true, QStringLiteral("[DBNETLIB] server not found"));
    try {
        backend->connect(QString());
        FAIL() << "connected";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("[DBNETLIB] server not found"));
    }
    EXPECT_FALSE(backend->isConnected());
    backend->setRefuseConnections(false);
    backend->connect(QString());
    EXPECT_TRUE(backend->isConnected());
}

TEST_F(SqliteBackendTest, FailuresCarrySqlitesMessageAndLeakNoStatement)
{
    try {
        backend->run(QStringLiteral("select * from no_such_table"));
        FAIL() << "ran";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("no such table: no_such_table"));
        EXPECT_NE(e.nativeCode(), 0);
    }
    EXPECT_THROW(backend->run(QStringLiteral("select top 15 * from t")), DatabaseError);
    EXPECT_THROW(backend->execute(QStringLiteral("CREATE TABLE t (x)")), DatabaseError);
    backend->run(QStringLiteral("select * from t"));
    EXPECT_EQ(backend->openStatementCount(), 0);
}

TEST_F(SqliteBackendTest, SecondStatementInOneTextIsRefusedNotRun)
{
    EXPECT_THROW(backend->execute(QStringLiteral("select 1; INSERT INTO t (i) VALUES (1)")),
                 DatabaseError);
    EXPECT_THROW(backend->run(QStringLiteral("  \r\n ")), DatabaseError);
    EXPECT_TRUE(backend->run(QStringLiteral("select i from t;\r\n-- done\r\n")).rows.empty());
    EXPECT_EQ(backend->openStatementCount(), 0);
}

TEST(SqliteBackendFile, MissingOrForeignFileFailsWithItsName)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("none.db"));
    try {
        SqliteBackend::openFile(missing);
        FAIL() << "opened";
    } catch (const DatabaseError& e) {
        EXPECT_TRUE(e.message().startsWith(missing)) << e.what();
    }
    EXPECT_FALSE(QFileInfo::exists(missing)); // and none was created

    const QString foreign = dir.filePath(QStringLiteral("kvet.ini"));
    QFile file(foreign);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4096, 'x'));
    file.close();
    EXPECT_THROW(SqliteBackend::openFile(foreign), DatabaseError);
    EXPECT_THROW(SqliteBackend::openFile(QString()), DatabaseError);
}

struct DateTimeCase {
    const char* text;
    QDateTime expected; // invalid: not a date-time
};

class ParseLocalDateTimeTest : public ::testing::TestWithParam<DateTimeCase> {};

TEST_P(ParseLocalDateTimeTest, Reads)
{
    const auto parsed = kvet::sqlite::parseLocalDateTime(QString::fromUtf8(GetParam().text));
    if (GetParam().expected.isValid()) {
        ASSERT_TRUE(parsed.has_value());
        EXPECT_EQ(*parsed, GetParam().expected);
    } else {
        EXPECT_FALSE(parsed.has_value());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Formats, ParseLocalDateTimeTest,
    ::testing::Values(
        DateTimeCase{"2024-06-15 10:30:05", QDateTime(QDate(2024, 6, 15), QTime(10, 30, 5))},
        DateTimeCase{"2024-06-15T10:30:05.25", QDateTime(QDate(2024, 6, 15), QTime(10, 30, 5, 250))},
        DateTimeCase{"2024-06-15 10:30", QDateTime(QDate(2024, 6, 15), QTime(10, 30))},
        DateTimeCase{"2024-06-15", QDateTime(QDate(2024, 6, 15), QTime(0, 0))},
        DateTimeCase{"2024-13-01 00:00:00", QDateTime()},
        DateTimeCase{"2024-06-15 25:00:00", QDateTime()},
        DateTimeCase{"20240615", QDateTime()}, DateTimeCase{"", QDateTime()}));
