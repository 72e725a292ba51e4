// Server messages as the hall sees them: in the status cell, cleaned the way
// the provider describes them.
#include "tds/dashboard_window.h"
#include "tds/stand_in_fixture.h"

using namespace kvet;
using namespace kvet::testing;

namespace {

class StatusCell : public StandInTest {};

TEST_F(StatusCell, StatementMessagesLoseTagsLineBreaksTrailingBlanksAndFullStops)
{
    auto wire = odbcDashboard(connectionString());
    wire->startUp();
    server->orderBatchError(tds::ServerMessage{50000, 1, 16, QStringLiteral("The ledger is being closed. \r\n")},
                            QStringLiteral("top 15"));
    wire->form->runRoutine(QStringLiteral("Button5Click"));
    EXPECT_EQ(wire->status(), QStringLiteral("The ledger is being closed"));

    server->orderBatchError(tds::ServerMessage{208, 1, 16, QStringLiteral("Invalid object name 'sf_sr'.")},
                            QStringLiteral("top 15"));
    wire->form->runRoutine(QStringLiteral("Button5Click"));
    EXPECT_EQ(wire->status(), QStringLiteral("Invalid object name 'sf_sr'"));
    EXPECT_TRUE(wire->errorBoxes.isEmpty());
}

TEST_F(StatusCell, RefusedLoginsAndUnknownDatabase)
{
    auto wrong = odbcDashboard(programString(server->port(), QStringLiteral("sa"), QStringLiteral("wrong")));
    wrong->startUp();
    EXPECT_EQ(wrong->status(), QStringLiteral("Login failed for user 'sa'"));

    auto unknown = odbcDashboard(programString(server->port(), QStringLiteral("sa"), QStringLiteral("secret"),
                                               QStringLiteral("nodb")));
    unknown->startUp();
    EXPECT_EQ(unknown->status(),
              QStringLiteral("Cannot open database \"nodb\" requested by the login. The login failed"));
}

TEST_F(StatusCell, ViewThatCannotBeCreatedShowsThePermissionMessage)
{
    server->runner().sql(QStringLiteral("drop view V_W_dsj_jfqd"));
    server->runner().setCreateViewDenied(true);
    auto wire = odbcDashboard(connectionString());
    wire->startUp();
    wire->scheduler().Timer3Timer();
    EXPECT_TRUE(wire->form->chart(1).series(0).points().empty());
    const QString sent = server->batches().join(u'\n');
    EXPECT_TRUE(sent.contains(QStringLiteral("[V_W_dsj_jfqd] AS"))) << sent.toStdString();
    EXPECT_EQ(wire->status(), QStringLiteral("CREATE VIEW permission denied in database 'sfdb'"));
}

} // namespace
