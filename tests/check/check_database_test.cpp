// kvet-check's database part: on the demo database (with and without its
// views) and on a scripted SQL Server that answers the catalogue questions
// the way a real one would.
#include "check/check_connection.h"
#include "check/check_run.h"
#include "check/check_statements.h"
#include "check/check_views.h"
#include "data/connection.h"
#include "data/failure.h"
#include "data/sqlite/demo_database.h"
#include "support/scripted_backend.h"

#include <QDateTime>
#include <gtest/gtest.h>

using namespace kvet;
using namespace kvet::check;
using kvet::testing::Script;
using kvet::testing::ScriptedBackend;
using kvet::testing::table;

namespace {

QStringList lines(const Report& report, Verdict verdict)
{
    QStringList out;
    for (const Finding& f : report.findings())
        if (f.verdict == verdict)
            out << f.text;
    return out;
}

const Finding* findingContaining(const Report& report, const QString& text)
{
    for (const Finding& f : report.findings())
        if (f.text.contains(text))
            return &f;
    return nullptr;
}

struct DemoCheck : ::testing::Test {
    Report report;
    void run(bool withViews, bool createViews)
    {
        Connection connection(createDemoBackend(QDateTime::currentDateTime(), withViews));
        connection.setConnectionString(QStringLiteral("Provider=SQLite"));
        checkDatabase(connection, demoCatalog(), createViews, LoginContext{}, report);
    }
};

TEST_F(DemoCheck, AllWellListsEveryStatementWithItsRowCountAndFirstRow)
{
    run(true, false);
    EXPECT_TRUE(report.allWell()) << qPrintable(report.text());
    const QStringList ok = lines(report, Verdict::Ok);
    for (const DashboardStatement& s : dashboardStatements()) {
        const QString prefix = QStringLiteral("%1（%2）：").arg(s.title, s.queryName);
        const auto hit = std::find_if(ok.begin(), ok.end(), [&](const QString& l) { return l.startsWith(prefix); });
        ASSERT_NE(hit, ok.end()) << qPrintable(prefix);
        EXPECT_TRUE(hit->contains(QStringLiteral(" 行；第一行："))) << qPrintable(*hit);
    }
    EXPECT_EQ(dashboardStatements().size(), 8u);
    const Finding* probe = findingContaining(report, QStringLiteral("启动探测"));
    ASSERT_NE(probe, nullptr);
    EXPECT_TRUE(probe->text.contains(QStringLiteral("1 行；第一行：zls=") + sqlite::demoUtilityName()));
    for (ReportingView v : kAllReportingViews)
        EXPECT_NE(findingContaining(report, QStringLiteral("视图 %1 存在").arg(viewName(v))), nullptr);
}

TEST_F(DemoCheck, MissingViewsAreReportedWithTheirCreateStatementAndNothingIsWritten)
{
    run(false, false);
    EXPECT_EQ(report.exitCode(), 1);
    EXPECT_EQ(report.count(Verdict::Error), 0) << qPrintable(report.text());
    ASSERT_EQ(report.count(Verdict::Warning), 4);
    for (ReportingView v : kAllReportingViews) {
        const Finding* missing = findingContaining(report, QStringLiteral("视图 %1 不存在").arg(viewName(v)));
        ASSERT_NE(missing, nullptr);
        EXPECT_EQ(missing->detail, viewDefinitionLines(v));
    }
    // The statements on the views ran and failed: nothing created them.
    EXPECT_NE(findingContaining(report, QStringLiteral("近30天缴费渠道占比（ADOQuery1）：视图 V_W_dsj_jfqd 不存在")),
              nullptr);
    EXPECT_EQ(findingContaining(report, QStringLiteral("已创建")), nullptr);
}

TEST_F(DemoCheck, CreateViewsCreatesTheMissingViewsAndThenEveryStatementRuns)
{
    run(false, true);
    EXPECT_TRUE(report.allWell()) << qPrintable(report.text());
    for (ReportingView v : kAllReportingViews)
        EXPECT_NE(findingContaining(report, QStringLiteral("已创建视图 ") + viewName(v)), nullptr);
    EXPECT_EQ(report.count(Verdict::Ok), 1 + 4 + 1 + 8); // login, views, permission, statements
}

// A SQL Server that has the tables; each test sets what differs.
struct ServerCheck : ::testing::Test {
    std::shared_ptr<Script> script = std::make_shared<Script>();
    Report report;
    ResultSet views = table({"name"}, {{QString("V_W_dsj_jfqd")}, {QString("v_w_dsj_JD1")},
                                       {QString("V_W_dsj_jd2")}, {QString("V_W_dsj_yslb")}});
    ResultSet permission = table({"create_view", "alter_dbo", "db_user"}, {{std::int64_t(1), std::int64_t(1), QString("kv")}});
    ResultSet facts = table({"version", "edition", "db", "collation", "code_page"},
                            {{QString("16.0.1000.6"), QString("Express Edition"), QString("billing"),
                              QString("Chinese_PRC_CI_AS"), std::int64_t(936)}});
    std::function<ResultSet(const QString&)> panels = [](const QString&) { return ResultSet{}; };

    void run(bool createViews = false)
    {
        script->onRun = [this](const QString& s) {
            if (s.contains("sys.views"))
                return views;
            if (s.contains("HAS_PERMS_BY_NAME"))
                return permission;
            if (s.contains("SERVERPROPERTY"))
                return facts;
            return panels(s);
        };
        Connection connection(std::make_unique<ScriptedBackend>(script));
        checkDatabase(connection, sqlServerCatalog(), createViews, LoginContext{"db1", "kv", "billing"}, report);
    }
};

TEST_F(ServerCheck, ViewNamesMatchWithoutLetterCaseAndEmptyResultsAreStillOk)
{
    panels = [](const QString& s) -> ResultSet {
        // Every statement answers with its columns and no row.
        for (const DashboardStatement& d : dashboardStatements())
            if (kvet::testing::folded(d.text) == kvet::testing::folded(s)) {
                ResultSet r;
                for (const QString& c : d.shown)
                    r.columns.push_back({c, ColumnKind::Text});
                return r;
            }
        throw DatabaseError("unexpected statement");
    };
    run();
    EXPECT_TRUE(report.allWell()) << qPrintable(report.text());
    EXPECT_NE(findingContaining(report, QStringLiteral("登录名可以在 dbo 中创建视图")), nullptr);
    EXPECT_NE(findingContaining(report, QStringLiteral("SQL Server 16.0.1000.6（Express Edition），数据库 billing")), nullptr);
    EXPECT_EQ(script->count("execute"), 0);
}

TEST_F(ServerCheck, AMissingViewWithoutTheRightToCreateItIsAnErrorWithTheGrantToAskFor)
{
    views = table({"name"}, {{QString("V_W_dsj_jfqd")}, {QString("V_W_dsj_jd2")}, {QString("V_W_dsj_yslb")}});
    permission = table({"create_view", "alter_dbo", "db_user"}, {{std::int64_t(1), std::int64_t(0), QString("dash")}});
    run();
    const Finding* missing = findingContaining(report, QStringLiteral("视图 V_W_dsj_jd1 不存在，登录名也不能创建它"));
    ASSERT_NE(missing, nullptr);
    EXPECT_EQ(missing->verdict, Verdict::Error);
    EXPECT_NE(findingContaining(report, QStringLiteral("缺少架构 dbo 的 ALTER 权限")), nullptr);
    EXPECT_NE(findingContaining(report, QStringLiteral("GRANT CREATE VIEW TO [dash]; GRANT ALTER ON SCHEMA::dbo TO [dash];")),
              nullptr);
    EXPECT_EQ(script->count("execute"), 0);
}

TEST_F(ServerCheck, ACollationThatTellsCaseApartOrHoldsNoChineseIsAnError)
{
    facts = table({"version", "edition", "db", "collation", "code_page"},
                  {{QString("16.0"), QString("Standard"), QString("billing"), QString("Latin1_General_CS_AS"),
                    std::int64_t(1252)}});
    run();
    EXPECT_NE(findingContaining(report, QStringLiteral("区分大小写")), nullptr);
    EXPECT_NE(findingContaining(report, QStringLiteral("代码页 1252 容不下中文")), nullptr);
    EXPECT_TRUE(codePageHoldsChinese(936));
    EXPECT_TRUE(codePageHoldsChinese(65001));
    EXPECT_FALSE(codePageHoldsChinese(950)); // Big5 lacks the simplified characters of the literals
}

TEST_F(ServerCheck, APanelReadThatFailsOnALaterRowNamesTheRowAndTheStatusCellMessage)
{
    panels = [](const QString& s) -> ResultSet {
        if (s.contains("cbrq1"))
            return table({"cbrq1", "hj"}, {{QString("240601"), std::int64_t(3)}, {QString("2406x1"), std::int64_t(2)}});
        if (s.contains("V_W_dsj_jd1"))
            return table({"rq"}, {{QString("202401")}}); // a hand-made view without je
        return ResultSet{};
    };
    run();
    const Finding* workload = findingContaining(report, QStringLiteral("每日抄表工作量（ADOQuery8）"));
    ASSERT_NE(workload, nullptr);
    EXPECT_EQ(workload->verdict, Verdict::Error);
    EXPECT_TRUE(workload->text.endsWith(QStringLiteral("第 2 行：'x1' is not a valid integer value"))) << qPrintable(workload->text);
    EXPECT_FALSE(workload->detail.isEmpty());
    const Finding* yearly = findingContaining(report, QStringLiteral("年度收费情况（ADOQuery3）"));
    ASSERT_NE(yearly, nullptr);
    EXPECT_TRUE(yearly->text.endsWith(QStringLiteral("ADOQuery3: Field 'je' not found"))) << qPrintable(yearly->text);
}

TEST_F(ServerCheck, AFailedLoginIsTimedExplainedAndStopsTheCheck)
{
    script->onConnect = [] {
        throw DatabaseError("Login failed for user 'kv'", "28000", 18456);
    };
    run();
    const QStringList errors = lines(report, Verdict::Error);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith(QStringLiteral("连接失败（")));
    EXPECT_TRUE(errors[0].endsWith(QStringLiteral("秒）：Login failed for user 'kv'")));
    EXPECT_TRUE(lines(report, Verdict::Hint).join("\n").contains(QStringLiteral("登录名“kv”被拒绝")));
    EXPECT_EQ(script->count("run"), 0);
}

} // namespace
