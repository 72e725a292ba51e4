// The whole dashboard through FreeTDS shows what it shows on the SQLite
// engine over the same rows: the same snapshot, byte for byte.
#include "tds/dashboard_window.h"
#include "tds/stand_in_fixture.h"

#include <QFile>

using namespace kvet;
using namespace kvet::testing;

namespace {

class DashboardOnTheWire : public StandInTest, public ::testing::WithParamInterface<bool> {};

TEST_P(DashboardOnTheWire, SameSnapshotAsTheSqliteEngine)
{
    tds::TypeChoice choice;
    choice.amountsAsDecimal = GetParam();
    server->runner().setTypeChoice(choice);
    auto wire = odbcDashboard(connectionString());
    auto local = sqliteDashboard(sampleCopy());
    wire->startUp();
    local->startUp();
    const QByteArray a = wire->snapshot();
    const QByteArray b = local->snapshot();
    if (a != b) {
        QFile f(QStringLiteral("tds_snapshot_wire.json"));
        if (f.open(QIODevice::WriteOnly))
            f.write(a);
        QFile g(QStringLiteral("tds_snapshot_sqlite.json"));
        if (g.open(QIODevice::WriteOnly))
            g.write(b);
    }
    EXPECT_EQ(a, b);
    EXPECT_EQ(filledCharts(*wire->form), 6);
    EXPECT_EQ(filledTickerRows(*wire->form), 15);
    EXPECT_TRUE(wire->errorBoxes.isEmpty()) << wire->errorBoxes.join(u'\n').toStdString();

    // A periodic pass and a ticker refill later, still the same.
    wire->scheduler().Timer3Timer();
    local->scheduler().Timer3Timer();
    wire->form->runRoutine(QStringLiteral("Button5Click"));
    local->form->runRoutine(QStringLiteral("Button5Click"));
    EXPECT_EQ(wire->snapshot(), local->snapshot());
}

TEST_P(DashboardOnTheWire, MissingViewsAreCreatedOnTheServerByTheirPanels)
{
    server = std::make_unique<tds::TdsStandIn>(sampleCopy(false));
    ASSERT_TRUE(server->start());
    tds::TypeChoice choice;
    choice.amountsAsDecimal = GetParam();
    server->runner().setTypeChoice(choice);
    auto wire = odbcDashboard(connectionString());
    auto local = sqliteDashboard(sampleCopy(false));
    wire->startUp();
    local->startUp();
    EXPECT_EQ(wire->snapshot(), local->snapshot());
    wire->scheduler().Timer3Timer();
    local->scheduler().Timer3Timer();
    EXPECT_EQ(wire->snapshot(), local->snapshot());
    EXPECT_EQ(filledCharts(*wire->form), 6);
    EXPECT_EQ(server->runner().query(QStringLiteral("select count(*) from sqlite_master where type='view'"))
                  .rows[0][0],
              Value(std::int64_t(4)));
}

INSTANTIATE_TEST_SUITE_P(MoneyAndDecimal, DashboardOnTheWire, ::testing::Bool(),
                         [](const auto& test) { return test.param ? "Decimal" : "Money"; });

} // namespace
