// The demo database's indexes must be the ones SQLite takes for the
// dashboard's statements: a plan that falls back to scanning sf_sr or
// sf_yhsf makes a batch call block the screen on a large file.
#include "data/dashboard_sql.h"
#include "data/sqlite/sqlite_translations.h"
#include "demo_sample_fixture.h"
#include "demo_views_fixture.h"
#include "sqlite_test_rows.h"

#include <gtest/gtest.h>

namespace statements = kvet::statements;

namespace {

class DemoQueryPlanTest : public kvet::testing::DemoSampleTest {
protected:
    // The plan's detail lines, one per line, for the statement as the
    // backend runs it (its SQLite equivalent where it has one).
    static QString plan(const QString& statement)
    {
        const kvet::sqlite::Translation* t = kvet::sqlite::translationFor(statement);
        const kvet::ResultSet rs = backend->run(QStringLiteral("EXPLAIN QUERY PLAN ") + (t ? t->sql : statement));
        QStringList lines;
        for (const auto& row : rs.rows)
            lines << std::get<QString>(row.back());
        return lines.join(QLatin1Char('\n'));
    }
};

} // namespace

TEST_F(DemoQueryPlanTest, EveryStatementFindsItsRowsThroughAnIndex)
{
    const QString paymentChannels = plan(QString::fromUtf8(statements::kPaymentChannels));
    EXPECT_TRUE(paymentChannels.contains(QStringLiteral("sf_sr USING INDEX sf_sr_rq"))) << qPrintable(paymentChannels);


    // Twelve months: every pass over the bills, and every look-up of a
    // month's first bill, finds its rows through jfsj and reads them from the
    // index alone.
    const QString fees = plan(QString::fromUtf8(statements::kFeeRecovery));
    const QStringList feeLines = fees.split(QLatin1Char('\n'));
    qsizetype billPasses = 0;
    for (const QString& line : feeLines) {
        if (!line.contains(QStringLiteral(" sf_yhsf")))
            continue;
        ++billPasses;
        EXPECT_TRUE(line.startsWith(QStringLiteral("SEARCH sf_yhsf USING COVERING INDEX sf_yhsf_jfsj (jfsj>? AND jfsj<?)")))
            << qPrintable(fees);
    }
    EXPECT_GE(billPasses, 12) << qPrintable(fees);
    EXPECT_FALSE(fees.contains(QStringLiteral("SCAN sf_yhsf"))) << qPrintable(fees);

    // The fifteen newest payments by serial number, each account looked up.
    const QString ticker = plan(statements::tickerStatement());
    EXPECT_TRUE(ticker.contains(QStringLiteral("SCAN a"))) << qPrintable(ticker);
    EXPECT_TRUE(ticker.contains(QStringLiteral("SEARCH b"))) << qPrintable(ticker);
    EXPECT_FALSE(ticker.contains(QStringLiteral("TEMP B-TREE"))) << qPrintable(ticker);
}

namespace {

class IndexedPaymentsTest : public kvet::testing::DemoViewsFixture {
protected:
    IndexedPaymentsTest() : DemoViewsFixture(QDateTime(QDate(2024, 6, 15), QTime(10, 30, 0))) {}
    void SetUp() override
    {
        DemoViewsFixture::SetUp();
        kvet::sqlite::createDemoIndexes(backend->handle());
    }
};

} // namespace

// The index on rq only narrows the rows of the last thirty days; every way a
// payment's time may be written still counts, at either edge of the window,
// and the year's months with the index present are those without it.
TEST_F(IndexedPaymentsTest, PaymentsWrittenAnyWayAreFoundThroughTheIndex)
{
    exec("INSERT INTO sf_sr (lsh, tzh, je, ren, rq) VALUES "
         "(1, 'a', 5, 'wx', '  2024-05-16 10:30:00'),"   // blanks before, first second of the window
         "(2, 'a', 5, 'wx', '2024-06-16T10:29:59.5 '),"  // 'T', fractions, blank after, last second
         "(3, 'a', 5, 'wx', '2024-06-16 10:30'),"        // no seconds: one day ahead, not counted
         "(4, 'a', 5, 'ZFB', '2024-05-16 10:29:59'),"    // one second before: not
         "(5, 'a', 7, 'ZFB', ' 2024-01-01'),"            // the year's first day, blank before
         "(6, 'a', 9, 'ZFB', '2024-12-31T23:59:59'),"    // its last second
         "(7, 'a', 11, 'ZFB', '2023-12-31 23:59:59')");  // last year
    EXPECT_EQ(kvet::testing::rowTexts(run("select hj, ren from V_W_dsj_jfqd"), true),
              (std::vector<std::string>{"2|公众号"}));
    EXPECT_EQ(kvet::testing::rowTexts(run("select rq, je from V_W_dsj_jd1"), true),
              (std::vector<std::string>{"202401|7.0000", "202405|10.0000", "202406|10.0000", "202412|9.0000"}));
}

// Through the index a month's rows are read in jfsj's byte order: the month
// reports the spelling of the first bill the billed total takes in that
// order (an arrears bill before it does not count), and its three sums take
// every spelling of the month.
TEST_F(IndexedPaymentsTest, FeeMonthsWrittenWithBlanksKeepTheirFirstBilledSpelling)
{
    exec("INSERT INTO sf_yhsf (tzh, jfsj, sf, cbch, yhls, fph, jfzt) VALUES "
         "('a', '202410', 1, 1, 2, '拖欠', '已缴'), ('a', '202410 ', 2, 1, 2, 'No.1', '已缴'),"
         "('a', '202411 ', 1, 1, 2, 'No.2', '未缴'), ('a', '202411', 2, 1, 2, 'No.3', '已缴'),"
         "('a', '202411X', 4, 1, 2, 'No.4', '已缴')");
    EXPECT_EQ(kvet::testing::rowTexts(run(kvet::statements::kFeeRecovery)),
              (std::vector<std::string>{"202410 |0.0002|0.0003|NULL|NULL", "202411|0.0003|0.0002|0.0001|33.3300"}));
}
