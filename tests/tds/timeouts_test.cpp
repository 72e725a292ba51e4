// The real 15-s login and 30-s command time-outs against a server that takes
// the request and never answers. Each case is its own CTest test, so they
// wait side by side.
#include "data/failure.h"
#include "data/odbc/odbc_backend.h"
#include "data/dashboard_sql.h"
#include "tds/dashboard_window.h"
#include "tds/stand_in_fixture.h"

#include <QElapsedTimer>

using namespace kvet;
using namespace kvet::testing;

namespace {

class TimeOuts : public StandInTest {
protected:
    OdbcBackend backend;
};

TEST_F(TimeOuts, UnansweredLoginFailsAfterTheConnectionTimeOut)
{
    server->setLoginFault(tds::LoginFault::NeverAnswer);
    qint64 ms = 0;
    const DatabaseError e = failureOf([&] { backend.connect(connectionString()); }, &ms);
    EXPECT_EQ(e.message(), QStringLiteral("Timeout expired"));
    EXPECT_GE(ms, 14000);
    EXPECT_LT(ms, 25000);
    EXPECT_FALSE(backend.isConnected());
}

TEST_F(TimeOuts, UnansweredStatementFailsAfterTheCommandTimeOutAndTheSessionLives)
{
    backend.connect(connectionString());
    server->orderBatchFault(tds::BatchFault::NeverAnswer);
    qint64 ms = 0;
    const DatabaseError e = failureOf([&] { backend.run(QString::fromUtf8(statements::kProbe)); }, &ms);
    EXPECT_EQ(e.message(), QStringLiteral("Timeout expired"));
    EXPECT_GE(ms, 29000);
    EXPECT_LT(ms, 40000);
    EXPECT_EQ(server->attentions(), 1);
    // The server took the cancel: the session goes on.
    EXPECT_TRUE(backend.isConnected());
    EXPECT_FALSE(backend.run(QString::fromUtf8(statements::kProbe)).rows.empty());
    EXPECT_EQ(server->sessionsOpened(), 1);
}

TEST_F(TimeOuts, SessionWhoseCancelWasIgnoredIsDroppedNotReused)
{
    backend.connect(connectionString());
    server->orderBatchFault(tds::BatchFault::NeverAnswerIgnoreAttention);
    qint64 ms = 0;
    const DatabaseError e = failureOf([&] { backend.run(QString::fromUtf8(statements::kProbe)); }, &ms);
    EXPECT_FALSE(e.message().isEmpty());
    EXPECT_LT(ms, 75000);
    EXPECT_FALSE(backend.isConnected()) << e.message().toStdString() << " " << e.state().toStdString() << " "
                                        << e.nativeCode();
    backend.connect(connectionString());
    EXPECT_FALSE(backend.run(QString::fromUtf8(statements::kProbe)).rows.empty());
    EXPECT_EQ(server->sessionsOpened(), 2);
}

TEST_F(TimeOuts, UnansweredTickerStatementShowsTheTimeOutInTheStatusCell)
{
    auto wire = odbcDashboard(connectionString());
    wire->startUp();
    server->orderBatchFault(tds::BatchFault::NeverAnswer, QStringLiteral("top 15"));
    wire->form->runRoutine(QStringLiteral("Button5Click"));
    EXPECT_EQ(wire->status(), QStringLiteral("Timeout expired"));
    EXPECT_TRUE(wire->errorBoxes.isEmpty());
    wire->form->runRoutine(QStringLiteral("Button1Click"));
    EXPECT_FALSE(wire->form->chart(1).series(0).points().empty());
}

} // namespace
