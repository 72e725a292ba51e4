// Values padded with trailing blanks, as char(n) columns of a billing system
// hold them, in every text column the dashboard's statements compare, join or
// group: the server ignores the blanks (and letter case), so every statement
// gives the same rows whatever indexes the file has and whether or not it
// has been analysed. A join on a padded account number once lost the
// payment wherever SQLite filtered the look-up by the text's length.
#include "data/dashboard_sql.h"
#include "demo_views_fixture.h"
#include "sqlite_test_rows.h"

#include <gtest/gtest.h>

#include <algorithm>

using kvet::testing::rowTexts;
using Rows = std::vector<std::string>;

namespace {

enum class Indexes {
    None,              // a utility's own file without any
    Demo,              // those kvet-demo and the export make
    DemoAnalysed,      // the same, with the planner's statistics
    CollatedAnalysed,  // a file indexed under the collation itself, analysed
};

class PaddedValuesTest : public kvet::testing::DemoViewsFixture,
                         public ::testing::WithParamInterface<Indexes> {
protected:
    PaddedValuesTest() : DemoViewsFixture(QDateTime(QDate(2024, 6, 15), QTime(10, 30, 0))) {}

    void SetUp() override
    {
        DemoViewsFixture::SetUp();
        // Enough accounts that SQLite looks them up through an index (made
        // for the statement where the file has none) rather than scanning.
        exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300) "
             "INSERT INTO sf_yh (tzh, hm, dz, YSLB, cbch) "
             "SELECT 1000000 + i, 'H' || i, 'D' || i, "
             "CASE i WHEN 1 THEN 'JM' WHEN 2 THEN 'jm ' WHEN 3 THEN 'Jm  ' WHEN 4 THEN 'jM' WHEN 5 THEN 'JM ' "
             "ELSE '居民生活用水' || CASE WHEN i % 7 = 0 THEN '  ' ELSE '' END END, 1 FROM n");
        exec("INSERT INTO sf_yh (tzh, hm, dz, YSLB, cbch) VALUES ('A7 ', '王芳', '澜东区1号', NULL, 1)");
        // Twenty payments of this week; the newest ones on padded account
        // numbers and channel codes.
        exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 17) "
             "INSERT INTO sf_sr (lsh, tzh, je, ren, rq) "
             "SELECT i, 1000000 + i, 5, 'wx', '2024-06-14 09:00:00' FROM n");
        exec("INSERT INTO sf_sr (lsh, tzh, je, ren, rq) VALUES "
             "(18, '1000003', 6, 'ZFB ', '2024-06-14 09:00:00'),"
             "(19, 'a7', 7, '006  ', '2024-06-14 09:00:00'),"
             "(20, '1000002 ', 8, 'WX ', '2024-06-14 09:00:00')");
        // June's bills, the month and both texts padded; a padded arrears
        // mark still keeps its bill out of the billed total.
        exec("INSERT INTO sf_yhsf (tzh, jfsj, sf, cbch, yhls, fph, jfzt) VALUES "
             "('1000001', '202406', 100, 1, 2, 'No.1', '已缴'),"
             "('1000002', '202406 ', 50, 1, 2, 'No.2', '未缴  '),"
             "('1000003', '202406  ', 30, 1, 2, '拖欠 ', '未缴'),"
             "('1000004', '202406', 20, 1, 2, 'No.3', '已缴 ')");
        switch (GetParam()) {
        case Indexes::None:
            break;
        case Indexes::Demo:
            kvet::sqlite::createDemoIndexes(backend->handle());
            break;
        case Indexes::DemoAnalysed:
            kvet::sqlite::createDemoIndexes(backend->handle());
            exec("ANALYZE");
            break;
        case Indexes::CollatedAnalysed:
            exec("CREATE INDEX yh_tzh ON sf_yh (tzh COLLATE kvet_ci)");
            exec("CREATE INDEX yh_yslb ON sf_yh (YSLB COLLATE kvet_ci)");
            exec("CREATE INDEX sr_tzh ON sf_sr (tzh COLLATE kvet_ci)");
            exec("CREATE INDEX sr_ren ON sf_sr (ren COLLATE kvet_ci)");
            exec("CREATE INDEX yhsf_jfsj ON sf_yhsf (jfsj COLLATE kvet_ci, fph COLLATE kvet_ci)");
            exec("CREATE INDEX yhsf_jfzt ON sf_yhsf (jfzt COLLATE kvet_ci)");
            exec("ANALYZE");
            break;
        }
    }
};

} // namespace

TEST_P(PaddedValuesTest, TickerJoinsPaddedAccountNumbersEitherWay)
{
    const Rows ticker = rowTexts(run(kvet::statements::tickerStatement()));
    ASSERT_EQ(ticker.size(), 15u);
    EXPECT_EQ(ticker.at(0), "20|1000002 |H2|D2|8|公众号|2024-06-14 09:00:00");
    EXPECT_EQ(ticker.at(1), "19|a7|王芳|澜东区1号|7|建行渠道|2024-06-14 09:00:00");
    EXPECT_EQ(ticker.at(2), "18|1000003|H3|D3|6|支付宝|2024-06-14 09:00:00");
    EXPECT_EQ(ticker.back(), "6|1000006|H6|D6|5|公众号|2024-06-14 09:00:00");
}

TEST_P(PaddedValuesTest, ChannelsCountPaddedCodesUnderTheirLabel)
{
    EXPECT_EQ(rowTexts(run("select hj, ren from V_W_dsj_jfqd"), true),
              (Rows{"18|公众号", "1|建行渠道", "1|支付宝"}));
}

TEST_P(PaddedValuesTest, CategoriesGroupWithoutRegardToBlanksOrCase)
{
    const kvet::ResultSet rs = run("select 用水类别, 数量 from V_W_dsj_yslb");
    Rows groups;
    for (const auto& row : rs.rows) {
        const auto* name = std::get_if<QString>(&row.at(0));
        const QString key = name ? name->trimmed().toCaseFolded() : QStringLiteral("NULL");
        groups.push_back(QStringLiteral("%1|%2").arg(key).arg(std::get<std::int64_t>(row.at(1))).toStdString());
    }
    std::sort(groups.begin(), groups.end());
    EXPECT_EQ(groups, (Rows{"NULL|1", "jm|5", "居民生活用水|295"}));
}

TEST_P(PaddedValuesTest, FeeMonthSumsEveryPaddedBillOnce)
{
    EXPECT_EQ(rowTexts(run("select jfsj, yf, sf, tq, bl from V_W_dsj_jd2")),
              (Rows{"202406|170.0000|120.0000|80.0000|0.4705"}));
}

INSTANTIATE_TEST_SUITE_P(Files, PaddedValuesTest,
                         ::testing::Values(Indexes::None, Indexes::Demo, Indexes::DemoAnalysed,
                                           Indexes::CollatedAnalysed),
                         [](const ::testing::TestParamInfo<Indexes>& shown) {
                             switch (shown.param) {
                             case Indexes::None: return std::string("NoIndexes");
                             case Indexes::Demo: return std::string("DemoIndexes");
                             case Indexes::DemoAnalysed: return std::string("DemoIndexesAnalysed");
                             case Indexes::CollatedAnalysed: return std::string("CollatedIndexesAnalysed");
                             }
                             return std::string();
                         });
