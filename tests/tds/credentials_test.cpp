// Logins, passwords and database names reach the server exactly as the
// settings hold them, whatever characters they contain.
#include "data/odbc/odbc_backend.h"
#include "tds/stand_in_fixture.h"

using namespace kvet;
using namespace kvet::testing;

namespace {

struct Credentials {
    const char* name;
    const char* user;
    const char* password;
    const char* database;
};

void PrintTo(const Credentials& c, std::ostream* os)
{
    *os << c.name;
}

class CredentialsArrive : public StandInTest, public ::testing::WithParamInterface<Credentials> {};

TEST_P(CredentialsArrive, Exactly)
{
    const QString user = QString::fromUtf8(GetParam().user);
    const QString password = QString::fromUtf8(GetParam().password);
    const QString database = QString::fromUtf8(GetParam().database);
    server->setAccount(tds::Account{user, password});
    server->setDatabases({database});
    OdbcBackend backend;
    try {
        backend.connect(programString(server->port(), user, password, database));
    } catch (const DatabaseError& e) {
        ADD_FAILURE() << e.message().toStdString();
    }
    ASSERT_FALSE(server->logins().empty());
    const tds::Login7 got = server->logins().back();
    EXPECT_EQ(got.userName, user);
    EXPECT_EQ(got.password, password);
    EXPECT_EQ(got.database, database);
    EXPECT_TRUE(backend.isConnected());
}

const Credentials kCredentials[] = {
    {"Plain", "sa", "secret", "sfdb"},
    {"Separators", "u;=x", "p;w=d", "db;=1"},
    {"OpeningBrace", "{u", "{pw", "{db"},
    {"ClosingBrace", "u}x", "p}w", "d}b"},
    {"BothBraces", "u{}x", "p{}}w", "d}{b"},
    {"Quotes", "'u\"", "\"p'w\"", "d'b\""},
    {"Blanks", " u x ", "  p w  ", " d b "},
    {"Chinese", "收费员", "密码；口令", "水费库"},
};

INSTANTIATE_TEST_SUITE_P(Values, CredentialsArrive, ::testing::ValuesIn(kCredentials),
                         [](const auto& test) { return std::string(test.param.name); });

} // namespace
