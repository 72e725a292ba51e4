// The sample database: every statement the program sends runs on it, through
// the table of SQLite equivalents where needed, and its data have the shape
// the screen needs.
#include "data/dashboard_sql.h"
#include "data/failure.h"
#include "data/sqlite/demo_database.h"
#include "data/sqlite/demo_sample_size.h"
#include "data/sqlite/sqlite_translations.h"
#include "demo_sample_fixture.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using kvet::ReportingView;
namespace statements = kvet::statements;

namespace {

struct ProgramStatement {
    const char* name;
    QString text;
    bool translated; // SQLite cannot run the T-SQL as it is, or not with money's arithmetic
};

// Every statement the panels send, as their queries send it (each line
// followed by CR LF).
std::vector<ProgramStatement> programStatements()
{
    auto sent = [](const char* text) { return QString::fromUtf8(text) + QStringLiteral("\r\n"); };
    return {
        {"probe", sent(statements::kProbe), false},
        {"paymentChannels", sent(statements::kPaymentChannels), false},
        {"waterUseCategories", sent(statements::kWaterUseCategories), false},
        {"readingStatus", sent(statements::kReadingStatus), false},
        {"yearlyCharges", sent(statements::kYearlyCharges), true},
        {"feeRecovery", sent(statements::kFeeRecovery), true},
        {"dailyWorkload", sent(statements::kDailyWorkload), true},
        {"ticker", statements::tickerStatement(), true},
    };
}

class DemoDatabaseTest : public kvet::testing::DemoSampleTest {
protected:
    static std::int64_t count(const char* sql)
    {
        return std::get<std::int64_t>(backend->run(QString::fromUtf8(sql)).rows.at(0).at(0));
    }
};

} // namespace

TEST_F(DemoDatabaseTest, EveryProgramStatementReturnsRows)
{
    for (const ProgramStatement& s : programStatements()) {
        SCOPED_TRACE(s.name);
        EXPECT_EQ(kvet::sqlite::translationFor(s.text) != nullptr, s.translated);
        kvet::ResultSet rs;
        ASSERT_NO_THROW(rs = backend->run(s.text));
        EXPECT_FALSE(rs.rows.empty());
    }
    EXPECT_EQ(backend->openStatementCount(), 0);

    // The sample lies in its temporary file; after every statement has read
    // it, only the 2000-KiB page cache stays in memory, whatever the page size.
    int used = 0;
    int highest = 0;
    ASSERT_EQ(sqlite3_db_status(backend->handle(), SQLITE_DBSTATUS_CACHE_USED, &used, &highest, 0), SQLITE_OK);
    EXPECT_LE(used, 2100 * 1024);
}

TEST_F(DemoDatabaseTest, ScreenShowsEveryChannelAndSeveralCategories)
{
    EXPECT_EQ(count("select count(*) from sf_yh"), 30000);
    EXPECT_GT(count("select count(*) from sf_sr"), 30000);
    EXPECT_GT(count("select count(*) from sf_yhsf where jfsj = '202406'"), 1000);
    // all nine channel labels of the mapping, and the business hall
    EXPECT_EQ(count("select count(*) from V_W_dsj_jfqd"), 10);
    EXPECT_GT(count("select count(*) from sf_sr where ren is null"), 0);
    EXPECT_GT(count("select count(*) from sf_sr where je = 0"), 0);
    EXPECT_GT(count("select count(*) from sf_sr where je < 0"), 0);
    // pies: several categories above 100 accounts, some below, NULL among them
    const std::int64_t shown = count("select count(*) from V_W_dsj_yslb where 数量>100");
    EXPECT_GE(shown, 4);
    EXPECT_LT(shown, count("select count(*) from V_W_dsj_yslb"));
    EXPECT_EQ(count("select count(*) from V_W_dsj_yslb where 用水类别 is null"), 1);
    EXPECT_GT(count("select count(*) from sf_yh where lrzt = 1 and cbch > 0"), 1000);
    EXPECT_GT(count("select count(*) from sf_yh where not lrzt = 1 and cbch > 0"), 1000);
    EXPECT_GT(count("select count(*) from sf_yh where lrzt is null"), 0);
    // every month of the year so far, with paid and unpaid bills
    EXPECT_EQ(count("select count(*) from V_W_dsj_jd1"), 6);
    EXPECT_EQ(count("select count(*) from V_W_dsj_jd2 where tq > 0 and sf > 0"), 6);
    EXPECT_GE(backend->run(kvet::statements::tickerStatement()).rows.size(), 15u);
    EXPECT_GE(backend->run(QString::fromUtf8(statements::kDailyWorkload)).rows.size(), 15u);
}

TEST_F(DemoDatabaseTest, NothingHappensAfterNowAndSerialsGrowWithTime)
{
    EXPECT_EQ(count("select count(*) from sf_sr where rq > '2024-06-17 10:30:00'"), 0);
    EXPECT_EQ(count("select count(*) from sf_yh where lrrq1 > '2024-06-17 10:30:00'"), 0);
    EXPECT_EQ(count("select count(*) from sf_yh where lrzt = 1 and cbch > 0 and lrrq1 is null"), 0);
    EXPECT_EQ(count("select count(*) from sf_sr a join sf_sr b on b.lsh = a.lsh + 1 where b.rq < a.rq"), 0);
    EXPECT_EQ(count("select count(*) from sf_sr a left join sf_yh b on a.tzh = b.tzh where b.tzh is null"),
              0);
}

// At the turn of the year, or of a month, the sample is still whole and
// every statement runs (the year's charts may then be empty).
class DemoDatabaseDateTest : public ::testing::TestWithParam<QDateTime> {};

TEST_P(DemoDatabaseDateTest, BuildsAndRunsEveryStatement)
{
    const QDateTime now = GetParam();
    auto backend = kvet::createDemoBackend(now, true, [now] { return now; });
    backend->connect(QString());
    for (const ProgramStatement& s : programStatements()) {
        SCOPED_TRACE(s.name);
        EXPECT_NO_THROW(backend->run(s.text));
    }
    const QString last = QStringLiteral("select max(rq) from sf_sr");
    EXPECT_LE(std::get<QString>(backend->run(last).rows.at(0).at(0)),
              now.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
}

INSTANTIATE_TEST_SUITE_P(Turns, DemoDatabaseDateTest,
                         ::testing::Values(QDateTime(QDate(2025, 1, 1), QTime(0, 0, 30)),
                                         QDateTime(QDate(2024, 12, 31), QTime(23, 59, 59)),
                                         QDateTime(QDate(2024, 2, 29), QTime(7, 0, 0))));

TEST(DemoDatabase, SameDateGivesTheSameData)
{
    auto first = kvet::createDemoBackend(kvet::testing::kSampleNow, false);
    auto second = kvet::createDemoBackend(kvet::testing::kSampleNow.addSecs(3600), false);
    first->connect(QString());
    second->connect(QString());
    const QString digest = QStringLiteral(
        "select count(*), total(je), max(lsh) from sf_sr where rq <= '2024-06-17 10:30:00'");
    EXPECT_EQ(first->run(digest).rows, second->run(digest).rows);
    const QString accounts = QStringLiteral("select hm, dz, YSLB from sf_yh where tzh = '1000777'");
    EXPECT_EQ(first->run(accounts).rows, second->run(accounts).rows);
}

TEST(DemoDatabaseFile, WrittenFileOpensAsItIsAndIsNeverOverwritten)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("demo.db"));
    kvet::writeDemoDatabase(path, kvet::testing::kSampleNow);
    EXPECT_THROW(kvet::writeDemoDatabase(path, kvet::testing::kSampleNow), kvet::Failure);

    auto backend = kvet::openDemoFile(path, [] { return kvet::testing::kSampleNow; });
    backend->connect(QString());
    EXPECT_EQ(std::get<QString>(backend->run(QString::fromUtf8(statements::kProbe)).rows.at(0).at(0)),
              kvet::sqlite::demoUtilityName());
    // written without views: the first read fails and the repair creates it
    EXPECT_THROW(backend->run(QString::fromUtf8(statements::kPaymentChannels)), kvet::DatabaseError);
    backend->execute(kvet::viewDefinitionText(ReportingView::Jfqd));
    EXPECT_FALSE(backend->run(QString::fromUtf8(statements::kPaymentChannels)).rows.empty());
    backend.reset();

    // the view created in the file is there for the next run
    auto again = kvet::openDemoFile(path, [] { return kvet::testing::kSampleNow; });
    again->connect(QString());
    EXPECT_FALSE(again->run(QString::fromUtf8(statements::kPaymentChannels)).rows.empty());
}

// A sample of another size has the same shape: the categories' shares, books
// of the same size read over the same cycle, payments and bills in proportion
// to the accounts; and every statement finds rows in it.
TEST_F(DemoDatabaseTest, ASampleOfAnotherSizeKeepsItsShape)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("small.db"));
    kvet::writeDemoDatabase(path, kvet::testing::kSampleNow, 3000);
    auto small = kvet::openDemoFile(path, [] { return kvet::testing::kSampleNow; });
    small->connect(QString());
    for (ReportingView view : kvet::kAllReportingViews)
        small->execute(kvet::viewDefinitionText(view));
    const auto smallCount = [&small](const char* sql) {
        return std::get<std::int64_t>(small->run(QString::fromUtf8(sql)).rows.at(0).at(0));
    };
    EXPECT_EQ(smallCount("select count(*) from sf_yh"), 3000);
    const char* const categories =
        "select count(*) from sf_yh where YSLB = '经营服务用水' or YSLB = '消防用水' or YSLB is null";
    EXPECT_EQ(smallCount(categories), 190 + 3 + 4); // a tenth of 1900, 30 and 45, rounded down
    EXPECT_EQ(smallCount("select max(cbch) from sf_yh"), count("select max(cbch) from sf_yh") / 10);
    for (const char* proportional : {"select count(*) from sf_sr", "select count(*) from sf_yhsf",
                                     "select count(*) from sf_yh where lrzt = 1"}) {
        SCOPED_TRACE(proportional);
        const double share = double(smallCount(proportional)) / double(count(proportional));
        EXPECT_GT(share, 0.085);
        EXPECT_LT(share, 0.115);
    }
    for (const ProgramStatement& s : programStatements()) {
        SCOPED_TRACE(s.name);
        EXPECT_FALSE(small->run(s.text).rows.empty());
    }
}

TEST(DemoDatabaseFile, ASampleSizeOutOfRangeWritesNothing)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("none.db"));
    EXPECT_THROW(kvet::writeDemoDatabase(path, kvet::testing::kSampleNow, 0), kvet::Failure);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    kvet::writeDemoDatabase(path, kvet::testing::kSampleNow, 1);
    auto one = kvet::openDemoFile(path);
    one->connect(QString());
    EXPECT_EQ(std::get<std::int64_t>(one->run(QStringLiteral("select count(*) from sf_yh")).rows.at(0).at(0)), 1);
}
