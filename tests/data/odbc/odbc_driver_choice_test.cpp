#include "data/odbc/odbc_driver_choice.h"

#include <gtest/gtest.h>

using namespace kvet::odbc;

namespace {

struct Choice {
    const char* name;
    QStringList installed;
    QString chosen;
};

class SqlServerDriverChoice : public ::testing::TestWithParam<Choice> {};

TEST_P(SqlServerDriverChoice, PrefersTheNewestMicrosoftDriverThenFreeTds)
{
    EXPECT_EQ(chooseSqlServerDriver(GetParam().installed), GetParam().chosen);
}

const QString k18 = QStringLiteral("ODBC Driver 18 for SQL Server");
const QString k17 = QStringLiteral("ODBC Driver 17 for SQL Server");
const QString k13 = QStringLiteral("ODBC Driver 13 for SQL Server");
const QString k19 = QStringLiteral("ODBC Driver 19 for SQL Server");
const QString kFreeTds = QStringLiteral("FreeTDS");
const QString kNative = QStringLiteral("SQL Server Native Client 11.0");
const QString kWindows = QStringLiteral("SQL Server");
const QString kSqlite = QStringLiteral("SQLite3");

INSTANTIATE_TEST_SUITE_P(
    OdbcDriverChoice, SqlServerDriverChoice,
    ::testing::Values(
        Choice{"Everything", {kWindows, kFreeTds, k17, k13, k18, kNative}, k18},
        Choice{"SeventeenBeatsNineteen", {k19, k17}, k17},
        Choice{"OtherMicrosoftVersionsNewestFirst", {kFreeTds, k13, k19}, k19},
        Choice{"FreeTdsBeforeWindowsOwn", {kWindows, kNative, kFreeTds}, kFreeTds},
        Choice{"NativeClientBeforeWindowsOwn", {kWindows, kNative}, kNative},
        Choice{"WindowsOwnLast", {kSqlite, kWindows}, kWindows},
        Choice{"LetterCaseIgnored", {QStringLiteral("freetds"), kSqlite}, QStringLiteral("freetds")},
        Choice{"NoneForSqlServer", {kSqlite, QStringLiteral("PostgreSQL Unicode")}, QString()},
        Choice{"NothingInstalled", {}, QString()}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(OdbcDriverChoice, FamilyFollowsTheName)
{
    EXPECT_EQ(driverFamily(k18), DriverFamily::Microsoft);
    EXPECT_EQ(driverFamily(QStringLiteral("/opt/microsoft/msodbcsql18/lib64/libmsodbcsql-18.3.so.2.1")),
              DriverFamily::Microsoft);
    EXPECT_EQ(driverFamily(kFreeTds), DriverFamily::FreeTds);
    EXPECT_EQ(driverFamily(QStringLiteral("/usr/lib/x86_64-linux-gnu/odbc/libtdsodbc.so")), DriverFamily::FreeTds);
    EXPECT_EQ(driverFamily(kNative), DriverFamily::NativeClient);
    EXPECT_EQ(driverFamily(kWindows), DriverFamily::LegacyWindows);
    EXPECT_EQ(driverFamily(kSqlite), DriverFamily::Other);
}

} // namespace
