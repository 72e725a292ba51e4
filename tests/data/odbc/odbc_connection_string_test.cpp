#include "data/odbc/odbc_connection_string.h"

#include "data/connection_string.h"
#include "data/failure.h"

#include <gtest/gtest.h>

using namespace kvet;
using namespace kvet::odbc;

namespace {

QString mapped(const QString& server, const QString& driver,
               const QString& password = QStringLiteral("pw"), const QString& user = QStringLiteral("sa"))
{
    return odbcConnectionString(
        parseConnectionString(buildConnectionString(password, user, QStringLiteral("sfdb"), server)), driver);
}

struct Address {
    const char* dataSource;
    ServerAddress parsed;
};

class DataSourceForms : public ::testing::TestWithParam<Address> {};

TEST_P(DataSourceForms, SplitIntoHostInstanceAndPort)
{
    EXPECT_EQ(parseDataSource(QString::fromUtf8(GetParam().dataSource)), GetParam().parsed);
}

INSTANTIATE_TEST_SUITE_P(
    OdbcConnectionString, DataSourceForms,
    ::testing::Values(Address{"srv01", {QStringLiteral("srv01"), {}, {}}},
                    Address{"srv01\\SQLEXPRESS", {QStringLiteral("srv01"), QStringLiteral("SQLEXPRESS"), {}}},
                    Address{"10.1.2.3,1444", {QStringLiteral("10.1.2.3"), {}, QStringLiteral("1444")}},
                    Address{"tcp:srv01, 1433", {QStringLiteral("srv01"), {}, QStringLiteral("1433")}},
                    Address{"srv01\\A,1500", {QStringLiteral("srv01"), QStringLiteral("A"), QStringLiteral("1500")}},
                    Address{"", {}}));

struct Mapping {
    const char* name;
    const char* server;
    const char* driver;
    const char* odbc;
};

class DriverStrings : public ::testing::TestWithParam<Mapping> {};

TEST_P(DriverStrings, CarryTheProgramsSettingsInTheDriversKeywords)
{
    EXPECT_EQ(mapped(QString::fromUtf8(GetParam().server), QString::fromUtf8(GetParam().driver)),
              QString::fromUtf8(GetParam().odbc));
}

INSTANTIATE_TEST_SUITE_P(
    OdbcConnectionString, DriverStrings,
    ::testing::Values(
        Mapping{"FreeTdsHost", "srv01", "FreeTDS",
                "DRIVER={FreeTDS};SERVER=srv01;DATABASE=sfdb;UID=sa;PWD=pw;WSID=srv01;"
                "TDS_Version=7.4;ClientCharset=UTF-8;Timeout=15"},
        Mapping{"FreeTdsPort", "10.1.2.3,1444", "FreeTDS",
                "DRIVER={FreeTDS};SERVER=10.1.2.3;PORT=1444;DATABASE=sfdb;UID=sa;PWD=pw;WSID=10.1.2.3,1444;"
                "TDS_Version=7.4;ClientCharset=UTF-8;Timeout=15"},
        Mapping{"FreeTdsInstance", "srv01\\SQL2008", "FreeTDS",
                "DRIVER={FreeTDS};SERVER=srv01\\SQL2008;DATABASE=sfdb;UID=sa;PWD=pw;WSID=srv01\\SQL2008;"
                "TDS_Version=7.4;ClientCharset=UTF-8;Timeout=15"},
        Mapping{"FreeTdsLocalAlias", "(local)", "FreeTDS",
                "DRIVER={FreeTDS};SERVER=127.0.0.1;DATABASE=sfdb;UID=sa;PWD=pw;WSID=(local);"
                "TDS_Version=7.4;ClientCharset=UTF-8;Timeout=15"},
        Mapping{"Microsoft18Port", "10.1.2.3,1444", "ODBC Driver 18 for SQL Server",
                "DRIVER={ODBC Driver 18 for SQL Server};SERVER=10.1.2.3,1444;DATABASE=sfdb;UID=sa;PWD=pw;"
                "WSID=10.1.2.3,1444;Encrypt=no;TrustServerCertificate=yes;AutoTranslate=yes"},
        Mapping{"Microsoft17Instance", "srv01\\SQL2008", "ODBC Driver 17 for SQL Server",
                "DRIVER={ODBC Driver 17 for SQL Server};SERVER=srv01\\SQL2008;DATABASE=sfdb;UID=sa;PWD=pw;"
                "WSID=srv01\\SQL2008;Encrypt=no;TrustServerCertificate=yes;AutoTranslate=yes"},
        Mapping{"WindowsOwn", "srv01", "SQL Server",
                "DRIVER={SQL Server};SERVER=srv01;DATABASE=sfdb;UID=sa;PWD=pw;WSID=srv01;AutoTranslate=yes"},
        Mapping{"OtherDriver", "srv01", "SQLite3",
                "DRIVER={SQLite3};SERVER=srv01;DATABASE=sfdb;UID=sa;PWD=pw;WSID=srv01"}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(OdbcConnectionString, MicrosoftDriversGetBracedValuesWithDoubledClosingBraces)
{
    const QString text = mapped(QStringLiteral("srv01"), QStringLiteral("ODBC Driver 18 for SQL Server"),
                                QStringLiteral("a;b}c{d=e"), QStringLiteral("sa admin"));
    EXPECT_TRUE(text.contains(QStringLiteral(";UID={sa admin};PWD={a;b}}c{d=e};"))) << text.toStdString();
    EXPECT_EQ(quoteOdbcValue(QStringLiteral(" lead")), QStringLiteral("{ lead}"));
    EXPECT_EQ(quoteOdbcValue(QStringLiteral("}")), QStringLiteral("{}}}"));
    EXPECT_EQ(quoteOdbcValue(QStringLiteral("\"q'")), QStringLiteral("\"q'"));
    EXPECT_EQ(quoteOdbcValue(QStringLiteral("水务")), QStringLiteral("水务"));
    EXPECT_EQ(quoteOdbcValue(QString()), QString());
}

// FreeTDS 1.3 keeps a braced value's doubled braces, so a '}' must go bare.
TEST(OdbcConnectionString, FreeTdsGetsValuesInTheFormItReadsBackExactly)
{
    const QString text = mapped(QStringLiteral("srv01"), QStringLiteral("FreeTDS"), QStringLiteral(" p}w= \"'{ "),
                                QStringLiteral("sa;admin"));
    EXPECT_TRUE(text.contains(QStringLiteral(";UID={sa;admin};PWD= p}w= \"'{ ;"))) << text.toStdString();
    EXPECT_EQ(quoteFreeTdsValue(QStringLiteral("}")), QStringLiteral("}"));
    EXPECT_EQ(quoteFreeTdsValue(QStringLiteral("{a")), QStringLiteral("{{a}"));
    EXPECT_EQ(quoteFreeTdsValue(QStringLiteral("a;b{")), QStringLiteral("{a;b{}"));
    EXPECT_EQ(quoteFreeTdsValue(QStringLiteral("水务 ")), QStringLiteral("水务 "));
    EXPECT_EQ(quoteFreeTdsValue(QString()), QString());
    EXPECT_EQ(quoteFreeTdsValue(QStringLiteral("a;b}")), std::nullopt);
    EXPECT_EQ(quoteFreeTdsValue(QStringLiteral("{a}")), std::nullopt);
    try {
        mapped(QStringLiteral("srv01"), QStringLiteral("FreeTDS"), QStringLiteral("a};b"));
        ADD_FAILURE() << "a value FreeTDS cannot receive was mapped";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.state(), QStringLiteral("IM012"));
        EXPECT_TRUE(e.message().contains(QStringLiteral("Password"))) << e.message().toStdString();
    }
}

TEST(OdbcConnectionString, EmptySettingsGiveEmptyValues)
{
    EXPECT_EQ(odbcConnectionString(parseConnectionString(buildConnectionString({}, {}, {}, {})),
                                   QStringLiteral("FreeTDS")),
              QStringLiteral("DRIVER={FreeTDS};SERVER=;DATABASE=;UID=;PWD=;WSID=;"
                             "TDS_Version=7.4;ClientCharset=UTF-8;Timeout=15"));
}

TEST(OdbcConnectionString, EncryptionAskedForIsKept)
{
    const auto pairs = parseConnectionString(
        QStringLiteral("Data Source=s;User ID=u;Password=p;Use Encryption for Data=True;Auto Translate=False"));
    EXPECT_EQ(odbcConnectionString(pairs, QStringLiteral("ODBC Driver 18 for SQL Server")),
              QStringLiteral("DRIVER={ODBC Driver 18 for SQL Server};SERVER=s;DATABASE=;UID=u;PWD=p;"
                             "Encrypt=yes;AutoTranslate=no"));
}

TEST(OdbcConnectionString, DriverKeyAndPassThroughBypassTheChoice)
{
    const auto pairs = parseConnectionString(QStringLiteral("Data Source=s;Driver= FreeTDS "));
    EXPECT_EQ(explicitDriver(pairs), QStringLiteral("FreeTDS"));
    EXPECT_EQ(explicitDriver(parseConnectionString(buildConnectionString({}, {}, {}, QStringLiteral("s")))),
              QString());
    EXPECT_TRUE(isOdbcPassthrough(QStringLiteral("odbc;DRIVER={SQLite3};Database=x.db")));
    EXPECT_EQ(odbcPassthroughText(QStringLiteral("ODBC;DRIVER={SQLite3};Database=x.db")),
              QStringLiteral("DRIVER={SQLite3};Database=x.db"));
    EXPECT_FALSE(isOdbcPassthrough(buildConnectionString({}, {}, {}, QStringLiteral("ODBC;"))));
}

} // namespace
