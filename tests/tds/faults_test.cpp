// A server that drops the link, answers slowly or goes away: the backend
// ends a dead session at once, so the very next routine reconnects.
#include "data/failure.h"
#include "data/odbc/odbc_backend.h"
#include "data/sqlite/sqlite_handles.h"
#include "data/dashboard_sql.h"
#include "tds/dashboard_window.h"
#include "tds/stand_in_fixture.h"

#include "screen/panel.h"
#include "screen/ticker_grid.h"

#include <QElapsedTimer>
#include <QThread>

using namespace kvet;
using namespace kvet::testing;

namespace {

class LinkFaults : public StandInTest {
protected:
    QString failureOf(const QString& statement)
    {
        try {
            backend.run(statement);
        } catch (const DatabaseError& e) {
            return e.message();
        }
        ADD_FAILURE() << "the statement succeeded";
        return {};
    }
    OdbcBackend backend;
};

TEST_F(LinkFaults, DropInsideAResultEndsTheSession)
{
    backend.connect(connectionString());
    server->orderBatchFault(tds::BatchFault::DropInsideResult);
    EXPECT_FALSE(failureOf(statements::tickerStatement()).isEmpty());
    EXPECT_FALSE(backend.isConnected());
}

TEST_F(LinkFaults, DropBeforeTheReplyEndsTheSession)
{
    backend.connect(connectionString());
    server->orderBatchFault(tds::BatchFault::DropBeforeReply);
    EXPECT_FALSE(failureOf(QString::fromUtf8(statements::kProbe)).isEmpty());
    EXPECT_FALSE(backend.isConnected());
}

TEST_F(LinkFaults, DropBetweenBatchesEndsTheSessionAtTheNextStatement)
{
    backend.connect(connectionString());
    backend.run(QString::fromUtf8(statements::kProbe));
    server->dropSessions();
    QThread::msleep(200);
    EXPECT_FALSE(failureOf(QString::fromUtf8(statements::kProbe)).isEmpty());
    EXPECT_FALSE(backend.isConnected());
}

// Through the dashboard: the routine after the broken one opens a new session
// and its statement is the first the server sees on it.
class DashboardFaults : public StandInTest {};

TEST_F(DashboardFaults, TheRoutineAfterADroppedLinkReconnects)
{
    // The daily-workload bars' statement meets the fault in the first full
    // refresh. The yearly charges come next: a view panel, whose repair would
    // end the batch if its read met the dead session. It reconnects instead,
    // and every other routine of the batch fills its part as usual.
    for (const auto fault : {tds::BatchFault::DropInsideResult, tds::BatchFault::DropBeforeReply}) {
        server->orderBatchFault(fault, QStringLiteral("group by cbrq1"));
        auto wire = odbcDashboard(connectionString());
        wire->startUp();
        EXPECT_TRUE(wire->form->chart(3).series(0).points().empty());
        for (int c : {1, 2, 4, 5, 6})
            EXPECT_FALSE(wire->form->chart(c).series(0).points().empty()) << "Chart" << c << ": " << wire->status().toStdString();
        EXPECT_EQ(filledTickerRows(*wire->form), 15);
        EXPECT_TRUE(wire->errorBoxes.isEmpty());
    }
}

TEST_F(DashboardFaults, DownAtStartThenUp)
{
    const int port = server->port();
    server->stop();
    auto wire = odbcDashboard(programString(port));
    wire->startUp();
    EXPECT_EQ(wire->status(), QStringLiteral("Unable to connect: Adaptive Server is unavailable or does not exist"));
    ASSERT_TRUE(server->start(port));
    wire->scheduler().Timer4Timer(); // the probe's retry
    EXPECT_FALSE(wire->form->banner().caption().isEmpty());
    wire->scheduler().Timer2Timer();
    EXPECT_EQ(filledCharts(*wire->form), 6);
    EXPECT_EQ(filledTickerRows(*wire->form), 15);

    auto local = sqliteDashboard(sampleCopy());
    local->startUp();
    EXPECT_EQ(wire->snapshot(), local->snapshot());
}

TEST_F(DashboardFaults, RestartedBetweenBatchesTheNextBatchAndTickerPassRefreshEverything)
{
    auto wire = odbcDashboard(connectionString());
    auto copy = sampleCopy();
    SqliteBackend* localDatabase = copy.get();
    auto local = sqliteDashboard(std::move(copy));
    wire->startUp();
    local->startUp();
    const int port = server->port();
    server->stop();
    ASSERT_TRUE(server->start(port));
    const QString payment = QStringLiteral("insert into sf_sr (lsh, tzh, je, ren, rq) values "
                                           "(99999999, (select tzh from sf_yh order by tzh limit 1), 88.8, 'wx', '2026-06-15 10:00:00')");
    server->runner().sql(payment);
    sqlite::exec(localDatabase->handle(), payment.toUtf8().constData());
    wire->scheduler().Timer3Timer();
    local->scheduler().Timer3Timer();
    wire->form->runRoutine(QStringLiteral("Button5Click"));
    local->form->runRoutine(QStringLiteral("Button5Click"));
    EXPECT_EQ(wire->snapshot(), local->snapshot());
    EXPECT_TRUE(wire->snapshot().contains("99999999"));
}

TEST_F(DashboardFaults, ViewDroppedOnTheServerIsCreatedAgainByItsPanel)
{
    auto wire = odbcDashboard(connectionString());
    wire->startUp();
    server->runner().sql(QStringLiteral("drop view V_W_dsj_jd1"));
    wire->scheduler().Timer3Timer();
    wire->scheduler().Timer3Timer();
    EXPECT_EQ(server->runner().query(QStringLiteral("select count(*) from sqlite_master where name='V_W_dsj_jd1'"))
                  .rows[0][0],
              Value(std::int64_t(1)));
    EXPECT_EQ(filledCharts(*wire->form), 6);
    auto local = sqliteDashboard(sampleCopy());
    local->startUp();
    EXPECT_EQ(wire->snapshot(), local->snapshot());
}

TEST_F(DashboardFaults, SlowAnswersTheScreenCatchesUp)
{
    server->setDelayMs(300);
    auto wire = odbcDashboard(connectionString());
    wire->startUp();
    server->setDelayMs(0);
    EXPECT_EQ(filledCharts(*wire->form), 6);
    auto local = sqliteDashboard(sampleCopy());
    local->startUp();
    EXPECT_EQ(wire->snapshot(), local->snapshot());
}

} // namespace
