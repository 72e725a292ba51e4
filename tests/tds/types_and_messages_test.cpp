// What SQL Server's types and messages look like once FreeTDS and the ODBC
// backend have read them: texts in code page 936 and UTF-16, money and
// decimal, datetime, NULLs, and the server's own error texts.
#include "data/failure.h"
#include "data/field.h"
#include "data/odbc/odbc_backend.h"
#include "data/dashboard_sql.h"
#include "tds/stand_in_fixture.h"

using namespace kvet;
using namespace kvet::testing;

namespace {

QString cell(const ResultSet& r, std::size_t row, std::size_t column)
{
    return Field(r.rows.at(row).at(column), r.columns.at(column).kind).asString();
}

// Amounts as money (false) or as decimal(18,2) (true).
class WireTypes : public StandInTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override
    {
        StandInTest::SetUp();
        if (!server)
            return;
        tds::TypeChoice choice;
        choice.amountsAsDecimal = GetParam();
        server->runner().setTypeChoice(choice);
        backend.connect(connectionString());
    }
    OdbcBackend backend;
};

TEST_P(WireTypes, TickerRowsReadAsOnTheSampleItself)
{
    const QString statement = statements::tickerStatement();
    const ResultSet wire = backend.run(statement);
    const ResultSet local = server->runner().query(statement);
    ASSERT_EQ(wire.rows.size(), 15u);
    ASSERT_EQ(wire.columns.size(), local.columns.size());
    for (std::size_t c = 0; c < wire.columns.size(); ++c)
        EXPECT_EQ(wire.columns[c].name, local.columns[c].name);
    for (std::size_t r = 0; r < wire.rows.size(); ++r)
        for (std::size_t c = 0; c < wire.columns.size(); ++c)
            EXPECT_EQ(cell(wire, r, c), cell(local, r, c)) << "row " << r << " column " << c;
    EXPECT_EQ(wire.columns[6].kind, ColumnKind::DateTime);
    EXPECT_EQ(wire.columns[4].kind, ColumnKind::Decimal);
}

TEST_P(WireTypes, ChineseInVarcharAndNvarcharArriveIntact)
{
    server->runner().sql(QStringLiteral(
        "insert into sf_yh (tzh, hm, dz, YSLB, cbch, lrzt) values ('T900', '張三丰·龍', '北京市朝阳区 88 号', '居民', 1, 1)"));
    server->runner().sql(QStringLiteral("insert into sf_sr (lsh, tzh, je, ren, rq) values "
                                        "(99999999, 'T900', 12.5, 'ZFB', '2026-06-15 09:00:00')"));
    const ResultSet r = backend.run(statements::tickerStatement());
    ASSERT_FALSE(r.rows.empty());
    EXPECT_EQ(cell(r, 0, 0), QStringLiteral("99999999"));
    EXPECT_EQ(cell(r, 0, 2), QStringLiteral("張三丰·龍")); // nvarchar
    EXPECT_EQ(cell(r, 0, 3), QStringLiteral("北京市朝阳区 88 号")); // varchar, code page 936
    EXPECT_EQ(cell(r, 0, 5), QStringLiteral("支付宝")); // CASE label
}

TEST_P(WireTypes, AmountsReadExactlyAndRoundHalfToEven)
{
    server->runner().sql(QStringLiteral("insert into sf_sr (lsh, tzh, je, ren, rq) values "
                                        "(99999001, 'T1', 12345678, 'wx', '2026-06-15 09:00:00'), "
                                        "(99999002, 'T1', 25000, 'wx', '2026-06-15 09:00:00'), "
                                        "(99999003, 'T1', 35000, 'wx', '2026-06-15 09:00:00'), "
                                        "(99999004, 'T1', -0.05, 'wx', '2026-06-15 09:00:00')"));
    const ResultSet r = backend.run(QStringLiteral(
        "select lsh, je, je/10000 sf from sf_sr where lsh > 99999000 order by lsh"));
    ASSERT_EQ(r.rows.size(), 4u);
    const auto integer = [&r](std::size_t row, std::size_t column) {
        return Field(r.rows[row][column], r.columns[column].kind).asInteger();
    };
    EXPECT_EQ(integer(0, 1), 12345678);
    EXPECT_EQ(integer(0, 2), 1235);
    EXPECT_EQ(integer(1, 2), 2);
    EXPECT_EQ(integer(2, 2), 4);
    EXPECT_EQ(integer(3, 1), 0);
    const auto& exact = std::get<Decimal>(r.rows[0][1]).text;
    EXPECT_EQ(exact, GetParam() ? QStringLiteral("12345678.00") : QStringLiteral("12345678.0000"));
    EXPECT_DOUBLE_EQ(Field(r.rows[3][1], r.columns[1].kind).asFloat(), -0.05);
}

TEST_P(WireTypes, NullsOfEveryTypeReadByTheRules)
{
    server->runner().sql(QStringLiteral("insert into sf_yh (tzh, hm, dz, YSLB, cbch, lrzt, lrrq1) values "
                                        "('T901', NULL, NULL, NULL, NULL, NULL, NULL)"));
    const ResultSet r = backend.run(QStringLiteral("select hm, dz, cbch, lrrq1 from sf_yh where tzh='T901'"));
    ASSERT_EQ(r.rows.size(), 1u);
    for (const Value& v : r.rows[0])
        EXPECT_TRUE(isNull(v));
    EXPECT_EQ(Field(r.rows[0][2], r.columns[2].kind).asInteger(), 0);
    EXPECT_EQ(Field(r.rows[0][0], r.columns[0].kind).asString(), QString());

    server->runner().sql(QStringLiteral("insert into sf_sr (lsh, tzh, je, ren, rq) values (99999005, 'T901', NULL, NULL, NULL)"));
    const ResultSet p = backend.run(QStringLiteral("select je, je/10000 sf, rq, ren from sf_sr where lsh=99999005"));
    ASSERT_EQ(p.rows.size(), 1u);
    for (const Value& v : p.rows[0])
        EXPECT_TRUE(isNull(v));
    EXPECT_EQ(p.columns[0].kind, ColumnKind::Decimal);
    EXPECT_EQ(Field(p.rows[0][0], p.columns[0].kind).asInteger(), 0);
    EXPECT_EQ(Field(p.rows[0][1], p.columns[1].kind).asFloat(), 0.0);
}

INSTANTIATE_TEST_SUITE_P(MoneyAndDecimal, WireTypes, ::testing::Bool(),
                         [](const auto& test) { return test.param ? "Decimal" : "Money"; });

class ServerMessages : public StandInTest {
protected:
    OdbcBackend backend;
};

TEST_F(ServerMessages, StatementFailuresReachTheCallerCleaned)
{
    backend.connect(connectionString());
    server->runner().sql(QStringLiteral("drop view V_W_dsj_jfqd"));
    DatabaseError e = failureOf([&] { backend.run(QString::fromUtf8(statements::kPaymentChannels)); });
    EXPECT_EQ(e.message(), QStringLiteral("Invalid object name 'V_W_dsj_jfqd'"));
    EXPECT_EQ(e.nativeCode(), 208);
    EXPECT_TRUE(backend.isConnected());

    e = failureOf([&] { backend.execute(QStringLiteral("CREATE VIEW V_W_dsj_jd1 AS select 1 x")); });
    EXPECT_EQ(e.message(), QStringLiteral("There is already an object named 'V_W_dsj_jd1' in the database"));
    EXPECT_EQ(e.nativeCode(), 2714);

    e = failureOf([&] { backend.run(QStringLiteral("select x from sf_sb_")); });
    EXPECT_EQ(e.message(), QStringLiteral("Invalid column name 'x'"));
    EXPECT_EQ(e.nativeCode(), 207);

    server->runner().setCreateViewDenied(true);
    e = failureOf([&] { backend.execute(QStringLiteral("CREATE VIEW v AS select 1 x")); });
    EXPECT_EQ(e.message(), QStringLiteral("CREATE VIEW permission denied in database 'sfdb'"));
    EXPECT_EQ(e.nativeCode(), 262);
    // The session survives every statement failure.
    EXPECT_FALSE(backend.run(QString::fromUtf8(statements::kProbe)).rows.empty());
}

TEST_F(ServerMessages, RefusedLoginsSayWhy)
{
    DatabaseError e = failureOf([&] { backend.connect(programString(server->port(), "sa", "wrong")); });
    EXPECT_EQ(e.message(), QStringLiteral("Login failed for user 'sa'"));
    EXPECT_EQ(e.nativeCode(), 18456);
    EXPECT_FALSE(backend.isConnected());

    e = failureOf([&] { backend.connect(programString(server->port(), "sa", "secret", "nodb")); });
    EXPECT_EQ(e.message(),
              QStringLiteral("Cannot open database \"nodb\" requested by the login. The login failed"));
    EXPECT_EQ(e.nativeCode(), 4060);
    EXPECT_FALSE(backend.isConnected());

    server->setLoginFault(tds::LoginFault::Refuse);
    e = failureOf([&] { backend.connect(connectionString()); });
    EXPECT_EQ(e.message(), QStringLiteral("Login failed for user 'sa'"));
    EXPECT_FALSE(backend.isConnected());
}

} // namespace
