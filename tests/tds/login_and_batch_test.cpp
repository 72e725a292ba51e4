// Logging in through unixODBC and FreeTDS, and one statement's way there and back.
#include "data/failure.h"
#include "data/odbc/odbc_backend.h"
#include "data/dashboard_sql.h"
#include "tds/stand_in_fixture.h"

using namespace kvet;
using namespace kvet::testing;

namespace {

class LoginAndBatch : public StandInTest {};

TEST_F(LoginAndBatch, ProbeStatementReturnsTheUtilityName)
{
    OdbcBackend backend;
    backend.connect(connectionString());
    ASSERT_TRUE(backend.isConnected());
    const ResultSet r = backend.run(QString::fromUtf8(statements::kProbe));
    ASSERT_EQ(r.columns.size(), 2u);
    EXPECT_EQ(r.columns[0].name, QStringLiteral("zls"));
    ASSERT_FALSE(r.rows.empty());
    const auto expected = server->runner().query(QStringLiteral("select zls from sf_sb_"));
    EXPECT_EQ(std::get<QString>(r.rows[0][0]), std::get<QString>(expected.rows[0][0]));
    ASSERT_EQ(server->logins().size(), 1u);
    EXPECT_EQ(server->logins()[0].userName, QStringLiteral("sa"));
    EXPECT_EQ(server->logins()[0].password, QStringLiteral("secret"));
    EXPECT_EQ(server->logins()[0].database, QStringLiteral("sfdb"));
}

} // namespace
