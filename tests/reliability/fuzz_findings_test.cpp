// Inputs the fuzz targets (fuzz/) found wrong, kept as regular tests.
#include "settings/password_codec.h"
#include "app/snapshot.h"
#include "data/connection_string.h"
#include "data/odbc/odbc_connection_string.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <gtest/gtest.h>

namespace kvet {
namespace {

struct Settings {
    const char* name;
    QString password, user, database, server;
};

void PrintTo(const Settings& s, std::ostream* os)
{
    *os << s.name;
}

class ValueStartingWithEquals : public ::testing::TestWithParam<Settings> {};

// "Password==x" reads as the key "Password=x" ("==" stands for '=' in a
// key): a password, login, database or server starting with '=' made the
// connection string unreadable, and no connection could ever open.
TEST_P(ValueStartingWithEquals, ReadsBackAndReachesTheDriver)
{
    const Settings s = GetParam();
    const QString text = buildConnectionString(s.password, s.user, s.database, s.server);
    ConnectionStringPairs pairs;
    ASSERT_NO_THROW(pairs = parseConnectionString(text)) << text.toStdString();
    EXPECT_EQ(connectionStringValue(pairs, "Password"), s.password);
    EXPECT_EQ(connectionStringValue(pairs, "User ID"), s.user);
    EXPECT_EQ(connectionStringValue(pairs, "Initial Catalog"), s.database);
    EXPECT_EQ(connectionStringValue(pairs, "Data Source"), s.server);
    EXPECT_EQ(connectionStringValue(pairs, "Workstation ID"), s.server);
    const QString odbc = odbc::odbcConnectionString(pairs, QStringLiteral("ODBC Driver 18 for SQL Server"));
    EXPECT_TRUE(odbc.contains(QStringLiteral(";PWD=") + odbc::quoteOdbcValue(s.password) + u';'))
        << odbc.toStdString();
    EXPECT_TRUE(odbc.contains(QStringLiteral(";DATABASE=") + odbc::quoteOdbcValue(s.database) + u';'))
        << odbc.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Fields, ValueStartingWithEquals,
                         ::testing::Values(Settings{"Password", "=abc123", "sa", "billing", "db1"},
                                           Settings{"User", "s", "=", "billing", "db1"},
                                           Settings{"Database", "pw", "sa", "=1i=", "db1"},
                                           Settings{"Server", "s\x01", "", "", "=e\xef\xbf\xbdted'"},
                                           Settings{"Every", "==", "'=", "=;", "= x"}),
                         [](const auto& test) { return std::string(test.param.name); });

// QString::fromUcs4 drops U+FEFF as a byte-order mark wherever the decoder
// appended one: such a password reached the server without it.
TEST(PasswordWithByteOrderMark, KeepsItWhereverItStands)
{
    const QString bom(QChar(0xFEFF));
    for (const QString& password : {bom + "pw", QStringLiteral("Ｏ") + bom + QChar(0xFFFF), "pw" + bom, bom}) {
        EXPECT_EQ(decodePassword(encodePassword(password)), password);
        EXPECT_EQ(decodeUtf8Strictly(password.toUtf8()), password);
    }
    EXPECT_EQ(decodeUtf8Strictly("\xEF\xBB\xBF" "a"), bom + "a");
}

// Qt's JSON reader drops a byte-order mark at the start of a string; the
// snapshot writes it as an escape, so every text reads back as written.
TEST(SnapshotTextWithByteOrderMark, ReadsBackThroughQtsJsonReader)
{
    const QString bom(QChar(0xFEFF));
    for (const QString& text : {bom + QStringLiteral("张三"), QStringLiteral("a") + bom, bom}) {
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson("[" + jsonString(text) + "]", &error);
        ASSERT_EQ(error.error, QJsonParseError::NoError);
        EXPECT_EQ(doc.array().at(0).toString(), text);
    }
}

} // namespace
} // namespace kvet
