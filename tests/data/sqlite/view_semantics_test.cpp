// The reporting views and the panels' statements on the demo schema, with a
// few hand-made rows and the server's clock pinned to 2024-06-15 10:30:00.
#include "data/dashboard_sql.h"
#include "demo_views_fixture.h"
#include "sqlite_test_rows.h"

#include <gtest/gtest.h>

using kvet::testing::rowTexts;
using Rows = std::vector<std::string>;

namespace {

const QDateTime kViewsNow(QDate(2024, 6, 15), QTime(10, 30, 0));

class ViewSemanticsTest : public kvet::testing::DemoViewsFixture {
protected:
    ViewSemanticsTest() : DemoViewsFixture(kViewsNow) {}
};

} // namespace

TEST_F(ViewSemanticsTest, JfqdCountsThirtyDaysToTheSecondWithoutZeroAmounts)
{
    exec("INSERT INTO sf_sr (lsh, tzh, je, ren, rq) VALUES "
         "(1, 'a', 5, 'wx', '2024-05-16 10:30:00'),"  // exactly 30 days before: counted
         "(2, 'a', 5, 'wx', '2024-05-16 10:29:59'),"  // one second earlier: not
         "(3, 'a', 5, 'ZFB', '2024-06-16 09:30:00')," // 23 hours ahead: counted
         "(4, 'a', 5, 'ZFB', '2024-06-16 10:30:00')," // one day ahead: not
         "(5, 'a', 0, '006', '2024-06-10 09:00:00')," // amount 0: not
         "(6, 'a', -8, '006', '2024-06-10 09:00:00'),"
         "(7, 'a', 5, '006YNT', '2024-06-01 12:00:00'),"
         "(8, 'a', 5, 'counter-3', '2024-06-01 12:00:00'),"
         "(9, 'a', 5, NULL, '2024-06-01 12:00:00')");
    EXPECT_EQ(rowTexts(run("select hj, ren from V_W_dsj_jfqd"), true),
              (Rows{"1|公众号", "1|建行渠道", "1|支付宝", "1|裕农通", "2|营业厅"}));
    const kvet::ResultSet rs = run(kvet::statements::kPaymentChannels);
    EXPECT_EQ(rs.columns.at(0).kind, kvet::ColumnKind::Integer);
    EXPECT_EQ(rowTexts(rs).front(), "2|营业厅");
}

struct ChannelCase {
    const char* code; // nullptr: NULL
    const char* label;
};

class ChannelMappingTest : public ViewSemanticsTest,
                           public ::testing::WithParamInterface<ChannelCase> {};

// The same mapping in the view and in the ticker's statement.
TEST_P(ChannelMappingTest, GivesTheLabelInViewAndTicker)
{
    exec("INSERT INTO sf_yh (tzh, hm, dz, cbch) VALUES ('a', '王芳', '澜东区1号', 1)");
    const QString code = GetParam().code ? QStringLiteral("'%1'").arg(QString::fromUtf8(GetParam().code))
                                         : QStringLiteral("NULL");
    backend->execute(QStringLiteral("INSERT INTO sf_sr VALUES (1, 'a', 12.5, %1, '2024-06-14 09:00:00')")
                         .arg(code));
    const std::string label = GetParam().label;
    EXPECT_EQ(rowTexts(run("select hj, ren from V_W_dsj_jfqd")), Rows{"1|" + label});
    const Rows ticker = rowTexts(run(kvet::statements::tickerStatement()));
    EXPECT_EQ(ticker, Rows{"1|a|王芳|澜东区1号|12.5|" + label + "|2024-06-14 09:00:00"});
}

INSTANTIATE_TEST_SUITE_P(
    Codes, ChannelMappingTest,
    ::testing::Values(ChannelCase{"006", "建行渠道"}, ChannelCase{"GDYH", "光大渠道"},
                    ChannelCase{"ZFB", "支付宝"}, ChannelCase{"006YNT", "裕农通"},
                    ChannelCase{"nyyh", "农行"}, ChannelCase{"gsyh", "工行"},
                    ChannelCase{"xys", "信用社"}, ChannelCase{"ycyh", "邮储渠道"},
                    ChannelCase{"wx", "公众号"}, ChannelCase{"zsyh", "营业厅"},
                    ChannelCase{"", "营业厅"}, ChannelCase{nullptr, "营业厅"},
                    // SQL Server's Chinese collations ignore case and trailing blanks
                    ChannelCase{"WX", "公众号"}, ChannelCase{"006  ", "建行渠道"}));

TEST_F(ViewSemanticsTest, TickerTakesTheFifteenHighestSerialsWithoutZeroAmounts)
{
    exec("INSERT INTO sf_yh (tzh, hm, dz, cbch) VALUES ('a', '王芳', '澜东区1号', 1)");
    for (int lsh = 1; lsh <= 20; ++lsh)
        backend->execute(QStringLiteral("INSERT INTO sf_sr VALUES (%1, 'a', %2, 'wx', '2024-06-01')")
                             .arg(lsh)
                             .arg(lsh == 19 ? 0 : lsh));
    const kvet::ResultSet rs = run(kvet::statements::tickerStatement());
    ASSERT_EQ(rs.rows.size(), 15u);
    EXPECT_EQ(std::get<std::int64_t>(rs.rows.front().front()), 20);
    EXPECT_EQ(std::get<std::int64_t>(rs.rows.at(1).front()), 18);
    EXPECT_EQ(std::get<std::int64_t>(rs.rows.back().front()), 5);
    EXPECT_EQ(rs.columns.at(6).name, QStringLiteral("rq"));
    EXPECT_EQ(rs.columns.at(6).kind, kvet::ColumnKind::DateTime);
}

TEST_F(ViewSemanticsTest, Jd1SumsThisCalendarYearByMonth)
{
    exec("INSERT INTO sf_sr (lsh, je, ren, rq) VALUES "
         "(1, 10, 'wx', '2024-01-01 00:00:00'),"
         "(2, 100, 'wx', '2023-12-31 23:59:59'),"
         "(3, 1000, 'wx', '2025-01-01 00:00:00'),"
         "(4, 7, 'wx', '2024-12-31 23:59:59'),"
         "(5, 0, 'wx', '2024-03-05 08:00:00'),"
         "(6, -2, 'wx', '2024-03-06 08:00:00'),"
         "(7, 12345678, 'wx', '2024-05-06 08:00:00')");
    EXPECT_EQ(rowTexts(run("select rq, je from V_W_dsj_jd1"), true),
              (Rows{"202401|10.0000", "202403|-2.0000", "202405|12345678.0000", "202412|7.0000"}));
    const kvet::ResultSet rs = run(kvet::statements::kYearlyCharges);
    EXPECT_EQ(rowTexts(rs), (Rows{"202401|0.0010", "202403|-0.0002", "202405|1234.5678", "202412|0.0007"}));
    EXPECT_EQ(rs.columns.at(1).kind, kvet::ColumnKind::Decimal);
}

TEST_F(ViewSemanticsTest, Jd2FollowsTheNullAndArrearsRules)
{
    exec("INSERT INTO sf_yhsf (tzh, jfsj, sf, cbch, yhls, fph, jfzt) VALUES "
         // January: NULL fph counts in sf but not yf; arrears count in tq but not yf
         "('a', '202401', 100, 1, 2, 'No.1', '已缴'), ('a', '202401', 50, 1, 2, '', '未缴'),"
         "('a', '202401', 30, 1, 2, '拖欠', '未缴'), ('a', '202401', 20, 1, 2, NULL, '已缴'),"
         // not counted: no book, no fee, another kind, last year
         "('a', '202401', 999, 0, 2, 'x', '已缴'), ('a', '202401', 0, 1, 2, 'x', '已缴'),"
         "('a', '202401', 999, 1, 1, 'x', '已缴'), ('a', '202301', 999, 1, 2, 'x', '已缴'),"
         // February: all unpaid
         "('a', '202402', 40, 1, 2, '', '未缴'),"
         // March: only arrears, so no row; April: no bills at all
         "('a', '202403', 10, 1, 2, '拖欠', '已缴'),"
         // May: all paid
         "('a', '202405', 60, 1, 2, 'No.5', '已缴'),"
         // June: unpaid beyond the billed total
         "('a', '202406', 10, 1, 2, 'No.6', '未缴'), ('a', '202406', 100, 1, 2, '拖欠', '未缴'),"
         "('a', '202406', 5, 1, 2, 'No.7', '已缴')");
    EXPECT_EQ(rowTexts(run("select jfsj, yf, sf, tq, bl from V_W_dsj_jd2"), true),
              (Rows{"202401|150.0000|120.0000|80.0000|0.5333", "202402|40.0000|NULL|NULL|NULL",
                    "202405|60.0000|60.0000|NULL|NULL", "202406|15.0000|5.0000|110.0000|7.3333"}));
    // money: tq/yf keeps four decimals, so bl*100 is 53.33, not 53.333...
    EXPECT_EQ(rowTexts(run(kvet::statements::kFeeRecovery)).front(), "202401|0.0150|0.0120|0.0080|53.3300");
}

TEST_F(ViewSemanticsTest, FeeRecoveryColumnsOfNullsOnlyAreMoney)
{
    exec("INSERT INTO sf_yhsf (tzh, jfsj, sf, cbch, yhls, fph, jfzt) VALUES "
         "('a', '202402', 40, 1, 2, '', '未缴')");
    const kvet::ResultSet rs = run(kvet::statements::kFeeRecovery);
    ASSERT_EQ(rs.columns.size(), 5u);
    EXPECT_EQ(rs.columns.at(0).kind, kvet::ColumnKind::Text);
    for (std::size_t i = 1; i < 5; ++i)
        EXPECT_EQ(rs.columns.at(i).kind, kvet::ColumnKind::Decimal) << i;
}

TEST_F(ViewSemanticsTest, YslbCountsMeteredAccountsWithNullAsOneCategory)
{
    exec("INSERT INTO sf_yh (tzh, YSLB, cbch) VALUES ('1', '居民生活用水', 3), ('2', '居民生活用水', 1),"
         "('3', '居民生活用水', 0), ('4', NULL, 2), ('5', NULL, 7), ('6', '消防用水', NULL)");
    const kvet::ResultSet rs = run("select 用水类别, 数量 from V_W_dsj_yslb");
    EXPECT_EQ(rowTexts(rs, true), (Rows{"NULL|2", "居民生活用水|2"}));
    EXPECT_EQ(rs.columns.at(0).kind, kvet::ColumnKind::Text);
    EXPECT_EQ(rs.columns.at(1).kind, kvet::ColumnKind::Integer);
}

TEST_F(ViewSemanticsTest, WaterUsePieKeepsCategoriesAboveOneHundred)
{
    exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 201) "
         "INSERT INTO sf_yh (tzh, YSLB, cbch) "
         "SELECT i, CASE WHEN i <= 101 THEN '工业用水' ELSE '消防用水' END, 1 FROM n");
    EXPECT_EQ(rowTexts(run(kvet::statements::kWaterUseCategories)), (Rows{"工业用水|101"}));
}

TEST_F(ViewSemanticsTest, ReadingStatusLeavesNullStatusOut)
{
    exec("INSERT INTO sf_yh (tzh, cbch, lrzt) VALUES ('1', 1, 1), ('2', 1, 1), ('3', 1, 0),"
         "('4', 1, 5), ('5', 1, NULL), ('6', 0, 1), ('7', 0, 0)");
    EXPECT_EQ(rowTexts(run(kvet::statements::kReadingStatus), true),
              (Rows{"已录入|2", "未录入|2"}));
}

TEST_F(ViewSemanticsTest, DailyWorkloadGroupsByEntryDateAsYymmdd)
{
    exec("INSERT INTO sf_yh (tzh, cbch, lrzt, lrrq1) VALUES "
         "('1', 1, 1, '2024-05-15 09:00:00'), ('2', 1, 1, '2024-06-15 08:00:00'),"
         "('3', 1, 1, '2024-06-15 17:59:59'), ('4', 0, 1, '2024-06-14 08:00:00'),"
         "('5', 1, 0, '2024-06-13 08:00:00'), ('6', 1, 1, NULL)");
    const kvet::ResultSet rs = run(kvet::statements::kDailyWorkload);
    EXPECT_EQ(rowTexts(rs), (Rows{"NULL|1", "240515|1", "240615|2"}));
    EXPECT_EQ(rs.columns.at(0).name, QStringLiteral("cbrq1"));
    EXPECT_EQ(rs.columns.at(1).name, QStringLiteral("hj"));
}
