#include "data/odbc/odbc_diagnostics.h"

#include <gtest/gtest.h>

using namespace kvet;
using namespace kvet::odbc;

namespace {

struct Cleaning {
    const char* raw;
    const char* shown;
};

class DriverTextCleaning : public ::testing::TestWithParam<Cleaning> {};

TEST_P(DriverTextCleaning, DropsTagsAndTrailingBlanksBreaksAndStops)
{
    EXPECT_EQ(cleanDriverText(QString::fromUtf8(GetParam().raw)), QString::fromUtf8(GetParam().shown));
}

INSTANTIATE_TEST_SUITE_P(
    OdbcDiagnostics, DriverTextCleaning,
    ::testing::Values(
        Cleaning{"[FreeTDS][SQL Server]Unable to connect: Adaptive Server is unavailable or does not exist",
                 "Unable to connect: Adaptive Server is unavailable or does not exist"},
        Cleaning{"[Microsoft][ODBC Driver 18 for SQL Server][SQL Server]Invalid object name 'V_W_dsj_jfqd'.",
                 "Invalid object name 'V_W_dsj_jfqd'"},
        Cleaning{"[Microsoft][ODBC Driver 17 for SQL Server]Login timeout expired",
                 "Login timeout expired"},
        Cleaning{"[unixODBC][Driver Manager]Data source name not found and no default driver specified",
                 "Data source name not found and no default driver specified"},
        Cleaning{"[Microsoft][SQL Server Native Client 11.0][SQL Server]对象名 'x' 无效。",
                 "对象名 'x' 无效。"},
        Cleaning{"Plain text. . \r\n.\n ", "Plain text"},
        Cleaning{"Version 1.0...", "Version 1.0"},
        // The server's own text keeps a leading bracket.
        Cleaning{"[Microsoft][ODBC Driver 18 for SQL Server][SQL Server][dbo].[x] is not valid.",
                 "[dbo].[x] is not valid"},
        Cleaning{"[unterminated tag", "[unterminated tag"},
        Cleaning{"[FreeTDS][SQL Server]", ""},
        Cleaning{"", ""}));

TEST(OdbcDiagnostics, FirstErrorIsShownAheadOfWarnings)
{
    const std::vector<Diagnostic> records{
        {QStringLiteral("01000"), 5701, QStringLiteral("[FreeTDS][SQL Server]Changed database context to 'sfdb'.")},
        {QStringLiteral("42S02"), 208, QStringLiteral("[FreeTDS][SQL Server]Invalid object name 'V_W_dsj_jd1'.")},
        {QStringLiteral("42000"), 8180, QStringLiteral("[FreeTDS][SQL Server]Statement(s) could not be prepared.")},
    };
    const DatabaseError e = databaseErrorFrom(records);
    EXPECT_EQ(e.message(), QStringLiteral("Invalid object name 'V_W_dsj_jd1'"));
    EXPECT_EQ(e.state(), QStringLiteral("42S02"));
    EXPECT_EQ(e.nativeCode(), 208);
}

TEST(OdbcDiagnostics, OnlyWarningsShowTheFirstOne)
{
    const std::vector<Diagnostic> records{{QStringLiteral("01004"), 0, QStringLiteral("String data, right truncated")},
                                          {QStringLiteral("01000"), 0, QStringLiteral("other")}};
    EXPECT_EQ(databaseErrorFrom(records).message(), QStringLiteral("String data, right truncated"));
}

TEST(OdbcDiagnostics, TextlessRecordShowsItsCodeAsOleError)
{
    const DatabaseError e = databaseErrorFrom({{QStringLiteral("HY000"), 0x1F, QStringLiteral("[FreeTDS] .")}});
    EXPECT_EQ(e.message(), QStringLiteral("OLE error 0000001f"));
    EXPECT_EQ(databaseErrorFrom({{QStringLiteral("HY000"), -2147217843L, QString()}}).message(),
              QStringLiteral("OLE error 80040e4d"));
}

TEST(OdbcDiagnostics, NoRecordsAtAllShowTheGenericFailure)
{
    EXPECT_EQ(databaseErrorFrom({}).message(), QStringLiteral("OLE error 80004005"));
}

} // namespace
