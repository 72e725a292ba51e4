// The recent-payments ticker's cells and scroll pass, and the start-up probe.
#include "panel_fixture.h"

#include "data/dashboard_sql.h"
#include "data/failure.h"
#include "data/regional_format.h"
#include "panels/recent_payments.h"
#include "panels/startup_probe.h"

using namespace kvet;
using namespace kvet::panels;
using kvet::testing::table;

namespace {

ResultSet payments(int n, double amount = 12.5)
{
    std::vector<std::vector<Value>> rows;
    for (int i = 0; i < n; ++i)
        rows.push_back({std::int64_t(1000 - i), QStringLiteral("0100%1").arg(i), QStringLiteral("王秀英"),
                        QStringLiteral("河畔路%1号").arg(i), Decimal{QString::number(amount, 'f', 4)},
                        QStringLiteral("支付宝"), QDateTime(QDate(2026, 12, 8), QTime(9, 30, 0))});
    return table({"lsh", "tzh", "hm", "dz", "je", "ren", "rq"}, rows);
}

struct Ticker : kvet::testing::PanelFixture {};

TEST_F(Ticker, SendsTheThreePiecesEachEndedByALineBreak)
{
    QString sent;
    script->onRun = [&](const QString& s) { sent = s; return payments(1); };
    refillRecentPayments(query, connection, grid, grid);
    EXPECT_EQ(sent, statements::tickerStatement());
}

TEST_F(Ticker, CellFormats)
{
    script->onRun = [](const QString&) { return payments(1); };
    refillRecentPayments(query, connection, grid, grid);
    EXPECT_EQ(grid.cells[0][0], QStringLiteral("1000"));
    EXPECT_EQ(grid.cells[1][0], QStringLiteral("01000"));
    EXPECT_EQ(grid.cells[2][0], QStringLiteral("王秀英"));
    EXPECT_EQ(grid.cells[3][0], QStringLiteral("  河畔路0号"));
    EXPECT_EQ(grid.cells[4][0], QString(10, ' ') + "12" + decimalSeparator() + "50");
    EXPECT_EQ(grid.cells[5][0], formatDateTime(QDateTime(QDate(2026, 12, 8), QTime(9, 30, 0))));
    EXPECT_EQ(grid.cells[6][0], QStringLiteral("支付宝"));
}

TEST_F(Ticker, FewerRowsKeepTheOldOnesAndMoreThanFifteenAreNotWritten)
{
    script->onRun = [](const QString&) { return payments(20); };
    refillRecentPayments(query, connection, grid, grid);
    EXPECT_EQ(grid.cells[0][14], QStringLiteral("986"));
    script->onRun = [](const QString&) { return payments(3, 1.0); };
    refillRecentPayments(query, connection, grid, grid);
    EXPECT_EQ(grid.cells[4][2].trimmed(), "1" + QString(decimalSeparator()) + "00");
    EXPECT_EQ(grid.cells[4][3].trimmed(), "12" + QString(decimalSeparator()) + "50");
}

TEST_F(Ticker, FailureShowsInTheStatusCellUntilTheNextRefillWithARow)
{
    failEveryRun("Unable to connect: Adaptive Server is unavailable or does not exist");
    refillRecentPayments(query, connection, grid, grid);
    EXPECT_EQ(grid.cells[0][0], QStringLiteral("Unable to connect: Adaptive Server is unavailable or does not exist"));
    EXPECT_FALSE(connection.connected());

    script->onRun = [](const QString&) { return payments(0); };
    refillRecentPayments(query, connection, grid, grid);
    EXPECT_TRUE(grid.cells[0][0].startsWith("Unable"));
    EXPECT_TRUE(connection.connected()); // a refill outside a batch leaves it open

    script->onRun = [](const QString&) { return payments(1); };
    refillRecentPayments(query, connection, grid, grid);
    EXPECT_EQ(grid.cells[0][0], QStringLiteral("1000"));
}

// A row is written cell by cell as its columns are read: a bad amount in the
// newest payment leaves its account, name and address on the screen, the
// message in the status cell, and the rest of the row as it was.
TEST_F(Ticker, AFailureHalfWayThroughARowKeepsTheCellsAlreadyWritten)
{
    for (int c = 0; c < 7; ++c)
        grid.cells[c][0] = QStringLiteral("old%1").arg(c);
    script->onRun = [](const QString&) {
        ResultSet rs = payments(2);
        rs.rows.at(0).at(4) = QStringLiteral("12,5 元");
        return rs;
    };
    refillRecentPayments(query, connection, grid, grid);
    EXPECT_EQ(grid.cells[0][0], QStringLiteral("'12,5 元' is not a valid floating point value"));
    EXPECT_EQ(grid.cells[1][0], QStringLiteral("01000"));
    EXPECT_EQ(grid.cells[2][0], QStringLiteral("王秀英"));
    EXPECT_EQ(grid.cells[3][0], QStringLiteral("  河畔路0号"));
    for (int c = 4; c < 7; ++c)
        EXPECT_EQ(grid.cells[c][0], QStringLiteral("old%1").arg(c)) << c;
    EXPECT_TRUE(grid.cells[0][1].isEmpty()); // the rows after it are not reached
    EXPECT_FALSE(connection.connected());
}

struct FakeBand : TickerBand {
    int band = 297, top = 297, height = 450;
    int bandHeight() const override { return band; }
    int gridTop() const override { return top; }
    int gridHeight() const override { return height; }
    void setGridTop(int t) override { top = t; }
};

TEST(TickerScroll, APassTakesTheBandHeightPlus391TicksAndRefillsOnceAtItsEnd)
{
    FakeBand band;
    int refills = 0;
    band.top = band.band - 10; // where a pass starts after a jump back
    int ticks = 0;
    do {
        scrollRecentPayments(band, [&] { ++refills; });
        ++ticks;
    } while (refills == 0);
    EXPECT_EQ(ticks, band.band + 391);
    EXPECT_EQ(band.top, band.band - 10);

    // After a resize the grid starts at the band's height, hidden below it, with no refill.
    band.top = band.band;
    scrollRecentPayments(band, [&] { ++refills; });
    EXPECT_EQ(band.top, band.band - 1);
    EXPECT_EQ(refills, 1);
}

struct Probe : kvet::testing::PanelFixture {};

TEST_F(Probe, FillsTheBannerAndClosesItsQuery)
{
    script->onRun = [](const QString&) {
        return table({"zls", "help"}, {{QStringLiteral("清河县自来水公司"), Null{}}, {QStringLiteral("other"), Null{}}});
    };
    QString banner;
    EXPECT_TRUE(runStartupProbe(query, [&](const QString& t) { banner = t; }, grid));
    EXPECT_EQ(banner, QStringLiteral("清河县自来水公司营业收费指标"));
    EXPECT_FALSE(query.active());
    EXPECT_TRUE(connection.connected());
}

TEST_F(Probe, EmptyTableStillSucceedsAndFailureKeepsTheCaption)
{
    script->onRun = [](const QString&) { return table({"zls", "help"}, {}); };
    QString banner = "营业收费系统指标";
    EXPECT_TRUE(runStartupProbe(query, [&](const QString& t) { banner = t; }, grid));
    EXPECT_EQ(banner, QStringLiteral("营业收费指标"));

    banner = "营业收费系统指标";
    failEveryRun("Invalid object name 'sf_sb_'");
    EXPECT_FALSE(runStartupProbe(query, [&](const QString& t) { banner = t; }, grid));
    EXPECT_EQ(banner, QStringLiteral("营业收费系统指标"));
    EXPECT_EQ(grid.cells[0][0], QStringLiteral("Invalid object name 'sf_sb_'"));
    EXPECT_TRUE(connection.connected()); // left as it was
}

} // namespace
