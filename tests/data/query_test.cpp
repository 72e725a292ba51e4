// The connection and query behaviour every panel relies on, against a scripted backend.
#include "data/connection.h"
#include "data/failure.h"
#include "data/query.h"
#include "data/view_repair.h"
#include "support/scripted_backend.h"

#include <gtest/gtest.h>

using namespace kvet;
using kvet::testing::Script;
using kvet::testing::ScriptedBackend;
using kvet::testing::table;

namespace {

struct QueryFixture : ::testing::Test {
    std::shared_ptr<Script> script = std::make_shared<Script>();
    Connection connection{std::make_unique<ScriptedBackend>(script)};
    Query query{QStringLiteral("ADOQuery1"), connection};
    Query other{QStringLiteral("ADOQuery3"), connection};
};

TEST_F(QueryFixture, StatementTextReadsBackWithCrLfAfterEveryLine)
{
    query.setSql(QStringLiteral("select a\nfrom b\r\nwhere c\rorder by d"));
    EXPECT_EQ(query.sql(), QStringLiteral("select a\r\nfrom b\r\nwhere c\r\norder by d\r\n"));
    // Appending to the text read back adds a line (the ticker builds its statement so).
    query.setSql(query.sql() + QStringLiteral("desc"));
    EXPECT_EQ(query.sql(), QStringLiteral("select a\r\nfrom b\r\nwhere c\r\norder by d\r\ndesc\r\n"));
    query.setSql(QStringLiteral("only"));
    EXPECT_EQ(query.sql(), QStringLiteral("only\r\n"));
    query.setSql(QString());
    EXPECT_EQ(query.sql(), QString());
}

TEST_F(QueryFixture, TheTextSentIsTheTextReadBack)
{
    QString sent;
    script->onRun = [&](const QString& s) { sent = s; return ResultSet{}; };
    query.setSql(QStringLiteral("select 1\nfrom t"));
    query.open();
    EXPECT_EQ(sent, query.sql());
}

TEST_F(QueryFixture, OpeningAQueryOpensAClosedConnectionAndLeavesItOpen)
{
    query.setSql(QStringLiteral("select 1"));
    query.open();
    EXPECT_TRUE(connection.connected());
    query.close();
    EXPECT_TRUE(connection.connected());

    // After an explicit close in the middle of a batch the next query reopens it.
    connection.close();
    EXPECT_FALSE(connection.connected());
    other.setSql(QStringLiteral("select 2"));
    other.open();
    EXPECT_TRUE(connection.connected());
    EXPECT_EQ(script->count(QStringLiteral("connect")), 2);
}

TEST_F(QueryFixture, ConnectionOpenIsANoOpWhenOpenAndCloseEndsEveryResult)
{
    script->onRun = [](const QString&) { return table({"a"}, {{std::int64_t(1)}}); };
    connection.open();
    connection.open();
    EXPECT_EQ(script->count(QStringLiteral("connect")), 1);
    query.setSql(QStringLiteral("select a"));
    other.setSql(QStringLiteral("select a"));
    query.open();
    other.open();
    connection.close();
    EXPECT_FALSE(query.active());
    EXPECT_FALSE(other.active());
}

TEST_F(QueryFixture, ExecuteOpensTheConnectionToo)
{
    query.setSql(QStringLiteral("CREATE VIEW v AS select 1"));
    query.execSql();
    EXPECT_TRUE(connection.connected());
    EXPECT_EQ(script->calls.back(), QStringLiteral("execute: CREATE VIEW v AS select 1"));
}

TEST_F(QueryFixture, MissingFieldNamesTheQueryAndTheField)
{
    script->onRun = [](const QString&) { return table({"ren"}, {{QStringLiteral("x")}}); };
    query.setSql(QStringLiteral("select ren"));
    query.open();
    try {
        query.fieldByName(QStringLiteral("hj"));
        FAIL() << "expected a failure";
    } catch (const Failure& f) {
        EXPECT_EQ(f.message(), QStringLiteral("ADOQuery1: Field 'hj' not found"));
    }
    // Column names match without regard to case, as the provider's do.
    EXPECT_EQ(query.fieldByName(QStringLiteral("REN")).asString(), QStringLiteral("x"));
}

TEST_F(QueryFixture, RowsAreWalkedInOrderAndEveryColumnReadsNullAtTheEnd)
{
    script->onRun = [](const QString&) {
        return table({"n", "t"}, {{std::int64_t(1), QStringLiteral("a")}, {std::int64_t(2), QStringLiteral("b")}});
    };
    query.setSql(QStringLiteral("select"));
    query.open();
    QStringList seen;
    while (!query.eof()) {
        seen << query.fieldByName("t").asString() + QString::number(query.fieldByName("n").asInteger());
        query.next();
    }
    EXPECT_EQ(seen, QStringList({"a1", "b2"}));
    EXPECT_TRUE(query.fieldByName("n").isNull());
    EXPECT_EQ(query.fieldByName("n").asInteger(), 0);
    EXPECT_EQ(query.fieldByName("t").asString(), QString());
    // A text column past the end reads as a whole number like empty text: it fails.
    EXPECT_THROW(query.fieldByName("t").asInteger(), Failure);
}

TEST_F(QueryFixture, EmptyResultIsAtEndAtOnce)
{
    script->onRun = [](const QString&) { return table({"n"}, {}); };
    query.setSql(QStringLiteral("select"));
    query.open();
    EXPECT_TRUE(query.eof());
}

TEST_F(QueryFixture, AFetchedResultSurvivesAnotherQueryOnTheSameConnection)
{
    int call = 0;
    script->onRun = [&](const QString&) {
        return table({"n"}, {{std::int64_t(++call)}, {std::int64_t(100)}});
    };
    query.setSql(QStringLiteral("select"));
    other.setSql(QStringLiteral("select"));
    query.open();
    other.open();
    other.next();
    EXPECT_EQ(query.fieldByName("n").asInteger(), 1);
    EXPECT_EQ(other.fieldByName("n").asInteger(), 100);
}

TEST_F(QueryFixture, FailuresOfTheBackendPassThroughWithTheirMessage)
{
    script->onConnect = [] { throw DatabaseError(QStringLiteral("Login failed for user 'sa'")); };
    query.setSql(QStringLiteral("select"));
    try {
        query.open();
        FAIL();
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Login failed for user 'sa'"));
    }
    EXPECT_FALSE(query.active());
}

TEST_F(QueryFixture, ViewRepairClosesReplacesTheTextAndExecutes)
{
    script->onRun = [](const QString&) { return table({"n"}, {{std::int64_t(1)}}); };
    query.setSql(QStringLiteral("select * from V"));
    query.open();
    repairView(query, QStringLiteral("CREATE VIEW [dbo].\r\n[V] AS select 1"));
    EXPECT_FALSE(query.active());
    EXPECT_EQ(query.sql(), QStringLiteral("CREATE VIEW [dbo].\r\n[V] AS select 1\r\n"));
    EXPECT_EQ(script->calls.back(), QStringLiteral("execute: CREATE VIEW [dbo]. [V] AS select 1"));
}

} // namespace
