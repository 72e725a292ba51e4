// The demo database follows SQL Server where SQLite by itself would not:
// impossible dates are NULL, texts compare as under Chinese_PRC_CI_AS, and
// amounts are money. Clock pinned to 2025-03-07 10:30:00.
#include "data/field.h"
#include "data/sqlite/sqlite_functions.h"
#include "data/failure.h"
#include "data/dashboard_sql.h"
#include "demo_views_fixture.h"
#include "sqlite_test_rows.h"

#include <gtest/gtest.h>

using kvet::ColumnKind;
using kvet::Field;
using kvet::testing::rowTexts;
using Rows = std::vector<std::string>;
namespace money = kvet::sqlite::money;

namespace {

const QDateTime kRulesNow(QDate(2025, 3, 7), QTime(10, 30, 0));

class ServerRulesTest : public kvet::testing::DemoViewsFixture {
protected:
    ServerRulesTest() : DemoViewsFixture(kRulesNow) {}

    // What the panel reads: the column as a whole number.
    std::vector<std::int64_t> wholeNumbers(const kvet::ResultSet& rs, std::size_t column)
    {
        std::vector<std::int64_t> out;
        for (const auto& row : rs.rows)
            out.push_back(Field(row.at(column), rs.columns.at(column).kind).asInteger());
        return out;
    }
};

} // namespace

TEST_F(ServerRulesTest, AnImpossibleDateIsNullWhereverItIsReadOrCompared)
{
    exec("INSERT INTO sf_yh (tzh, hm, dz, cbch, lrzt, lrrq1) VALUES "
         "('a', '王芳', '澜东区1号', 1, 1, '2025-02-30 08:00:00'), ('b', '李伟', '澜西区2号', 1, 1, '2025-03-06 08:00:00')");
    exec("INSERT INTO sf_sr (lsh, tzh, je, ren, rq) VALUES "
         "(1, 'a', 10, 'wx', '2025-02-28 10:00:00'), (2, 'a', 20, 'wx', '2025-02-30 10:00:00'),"
         "(3, 'b', 40, 'ZFB', '2025-03-01 25:00:00')");
    const kvet::ResultSet ticker = run(kvet::statements::tickerStatement());
    ASSERT_EQ(ticker.rows.size(), 3u);
    EXPECT_TRUE(kvet::isNull(ticker.rows.at(0).at(6)));
    EXPECT_TRUE(kvet::isNull(ticker.rows.at(1).at(6)));
    EXPECT_EQ(Field(ticker.rows.at(1).at(6), ticker.columns.at(6).kind).asString(), QString());
    // neither counts in this year's months nor in the last 30 days
    EXPECT_EQ(rowTexts(run("select rq, je from V_W_dsj_jd1")), Rows{"202502|10.0000"});
    EXPECT_EQ(rowTexts(run("select hj, ren from V_W_dsj_jfqd")), Rows{"1|公众号"});
    // the reading entered on an impossible day forms the NULL day
    EXPECT_EQ(rowTexts(run(kvet::statements::kDailyWorkload)), (Rows{"NULL|1", "250306|1"}));
}

TEST_F(ServerRulesTest, TextsGroupAndJoinWithoutRegardToCaseOrTrailingBlanks)
{
    // 60 + 50 accounts of one category written four ways, 120 of another in two
    exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 230) "
         "INSERT INTO sf_yh (tzh, hm, dz, YSLB, cbch) SELECT 'T' || i, '户' || i, '路' || i, "
         "CASE WHEN i <= 30 THEN 'JM' WHEN i <= 60 THEN 'jm' WHEN i <= 90 THEN 'Jm  ' "
         "WHEN i <= 110 THEN 'jM' WHEN i <= 170 THEN '居民' ELSE '居民 ' END, 1 FROM n");
    const kvet::ResultSet categories = run("select 用水类别, 数量 from V_W_dsj_yslb");
    ASSERT_EQ(categories.rows.size(), 2u);
    EXPECT_EQ(wholeNumbers(categories, 1), (std::vector<std::int64_t>{110, 120}));
    EXPECT_EQ(run(kvet::statements::kWaterUseCategories).rows.size(), 2u);

    // the ticker joins 't1 ' and 'T1' as one account
    exec("INSERT INTO sf_sr (lsh, tzh, je, ren, rq) VALUES (1, 't1 ', 5, 'Wx ', '2025-03-06 09:00:00')");
    EXPECT_EQ(rowTexts(run(kvet::statements::tickerStatement())),
              Rows{"1|t1 |户1|路1|5|公众号|2025-03-06 09:00:00"});

    // a billing month written with a trailing blank is the same month
    exec("INSERT INTO sf_yhsf (tzh, jfsj, sf, cbch, yhls, fph, jfzt) VALUES "
         "('a', '202501', 100, 1, 2, 'No.1', '已缴 '), ('a', '202501 ', 50, 1, 2, 'No.2', '未缴'),"
         "('a', '202501 ', 30, 1, 2, '拖欠  ', '未缴')");
    const kvet::ResultSet fees = run("select jfsj, yf, sf, tq, bl from V_W_dsj_jd2");
    ASSERT_EQ(fees.rows.size(), 1u);
    const std::string row = rowTexts(fees).front();
    EXPECT_EQ(row.substr(row.find('|')), "|150.0000|100.0000|80.0000|0.5333");
}

TEST_F(ServerRulesTest, AmountsAreMoneySoWholeNumbersComeOutAsOnTheServer)
{
    // 25000.50 and 35000.50 yuan: 2.5000 and 3.5000 ten-thousands, read half to
    // even as 2 and 4; ten payments of 0.10 are exactly 1.0000.
    exec("INSERT INTO sf_sr (lsh, tzh, je, ren, rq) VALUES "
         "(1, 'a', 25000.25, 'wx', '2025-01-05 10:00:00'), (2, 'a', 0.25, 'wx', '2025-01-06 10:00:00'),"
         "(3, 'a', 35000.50, 'wx', '2025-02-05 10:00:00'),"
         "(4, 'a', 0.000049, 'wx', '2025-03-01 10:00:00')");
    exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 10) "
         "INSERT INTO sf_sr (lsh, tzh, je, ren, rq) SELECT 10 + i, 'a', 0.1, 'wx', '2025-03-02 10:00:00' FROM n");
    EXPECT_EQ(rowTexts(run("select rq, je from V_W_dsj_jd1")),
              (Rows{"202501|25000.5000", "202502|35000.5000", "202503|1.0000"}));
    const kvet::ResultSet yearly = run(kvet::statements::kYearlyCharges);
    EXPECT_EQ(rowTexts(yearly), (Rows{"202501|2.5000", "202502|3.5000", "202503|0.0001"}));
    EXPECT_EQ(wholeNumbers(yearly, 1), (std::vector<std::int64_t>{2, 4, 0}));
    // an amount that is 0.0000 as money is no payment for the channel pie
    EXPECT_EQ(rowTexts(run("select hj, ren from V_W_dsj_jfqd")), Rows{"10|公众号"});

    // fee months: 10000.50 unpaid of 10000.50 billed, and a third paid
    exec("INSERT INTO sf_yhsf (tzh, jfsj, sf, cbch, yhls, fph, jfzt) VALUES "
         "('a', '202501', 10000.50, 1, 2, 'No.1', '未缴'), ('a', '202501', 15000, 1, 2, '拖欠', '已缴'),"
         "('a', '202502', 1, 1, 2, 'No.2', '未缴'), ('a', '202502', 2, 1, 2, 'No.3', '已缴')");
    const kvet::ResultSet fees = run(kvet::statements::kFeeRecovery);
    EXPECT_EQ(rowTexts(fees), (Rows{"202501|1.0000|1.5000|1.0000|100.0000", "202502|0.0003|0.0002|0.0001|33.3300"}));
    EXPECT_EQ(wholeNumbers(fees, 2), (std::vector<std::int64_t>{2, 0}));
}

TEST(MoneyArithmetic, FourDecimalsAsSqlServerKeepsThem)
{
    EXPECT_EQ(money::fromText("25000.50"), 250005000);
    EXPECT_EQ(money::fromText("-1.23456"), -12346);
    EXPECT_EQ(money::fromText("1.23454"), 12345);
    EXPECT_EQ(money::fromText("12,5"), std::nullopt);
    EXPECT_EQ(money::fromText("922337203685477.5807"), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(money::fromText("922337203685477.5808"), std::nullopt);
    EXPECT_EQ(money::fromDouble(0.1), 1000);
    EXPECT_EQ(money::fromDouble(2.00005), 20001);
    EXPECT_EQ(money::toText(-5), QString("-0.0005"));
    EXPECT_EQ(money::toText(250005000), QString("25000.5000"));
    // division cuts toward zero at the fourth decimal
    EXPECT_EQ(money::divide(250005000, 100000000), 25000);
    EXPECT_EQ(money::divide(-250005000, 100000000), -25000);
    EXPECT_EQ(money::divide(10000, 30000), 3333);
    EXPECT_EQ(money::divide(10000, -30000), -3333);
    EXPECT_EQ(money::divide(1, 0), std::nullopt);
    // multiplication rounds at the fourth decimal
    EXPECT_EQ(money::multiply(184172, 11562), 212940);
    EXPECT_EQ(money::multiply(-5, 5000), -3);
    EXPECT_EQ(money::multiply(std::numeric_limits<std::int64_t>::max(), 20000), std::nullopt);
}

TEST_F(ServerRulesTest, MoneyThatIsNoNumberFailsWithTheServersMessage)
{
    EXPECT_EQ(rowTexts(run("select kvet_money_div('', 3), kvet_money_div(NULL, 3)")), Rows{"0.0000|NULL"});
    try {
        run("select kvet_money_div('12,5', 10000)");
        FAIL();
    } catch (const kvet::DatabaseError& e) {
        EXPECT_TRUE(e.message().startsWith("Cannot convert a char value to money")) << e.message().toStdString();
    }
    EXPECT_THROW(run("select kvet_money_div(1, 0)"), kvet::DatabaseError);
}

TEST(TextCollation, CaseAndTrailingBlanksDoNotCount)
{
    using kvet::sqlite::compareTexts;
    EXPECT_EQ(compareTexts("居民 ", "居民"), 0);
    EXPECT_EQ(compareTexts("Ärger", "ärger  "), 0);
    EXPECT_NE(compareTexts(" 居民", "居民"), 0);
    EXPECT_LT(compareTexts("居民A", "居民b"), 0);
}

// The date check and the collation take shortcuts on the bytes; their edges
// against the calendar and the case rules they stand in for.
TEST_F(ServerRulesTest, DateAndTextShortcutsKeepTheirRules)
{
    EXPECT_EQ(rowTexts(run("select kvet_datetime('2024-02-29 23:59:59'), kvet_datetime('2023-02-29 10:00:00'), "
                           "kvet_datetime('1900-02-29'), kvet_datetime('2000-02-29'), kvet_datetime('0000-01-01'), "
                           "kvet_datetime('2024-04-31'), kvet_datetime(' 2024-12-31T08:05:09.25\t'), "
                           "kvet_datetime('2024-12-31 08:05:'), kvet_datetime('2024-13-01')")),
              Rows{"2024-02-29 23:59:59|NULL|NULL|2000-02-29 00:00:00|NULL|NULL|2024-12-31 08:05:09|NULL|NULL"});
    // The month of the same check, for the year's view.
    EXPECT_EQ(rowTexts(run("select kvet_month(' 2024-12-31T08:05:09.25\t'), kvet_month('0999-01-31'), "
                           "kvet_month('2023-02-29 10:00:00'), kvet_month(20240101), kvet_month(NULL)")),
              Rows{"202412|099901|NULL|NULL|NULL"});
    for (char32_t cp = kvet::sqlite::kFirstIdeograph; cp <= kvet::sqlite::kLastIdeograph; ++cp)
        ASSERT_EQ(QChar::toCaseFolded(cp), cp) << std::hex << unsigned(cp);
    using kvet::sqlite::compareTexts;
    EXPECT_EQ(compareTexts("已缴  ", "已缴"), 0);
    EXPECT_LT(compareTexts("已缴", "未缴"), 0);
    EXPECT_EQ(compareTexts("No.12A", "no.12a "), 0);
    EXPECT_GT(compareTexts("Ab", "aA"), 0);
    EXPECT_LT(compareTexts("a", "Ä"), 0);
}
