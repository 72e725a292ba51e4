#include "data/connection_string.h"

#include "data/failure.h"

#include <gtest/gtest.h>

using namespace kvet;

namespace {

TEST(ConnectionString, OrdinaryValuesGoInAsTheyStand)
{
    EXPECT_EQ(buildConnectionString(QStringLiteral("secret"), QStringLiteral("sa"),
                                    QStringLiteral("sfdb"), QStringLiteral("SRV01\\SQL2008")),
              QStringLiteral("Provider=SQLOLEDB.1;Password=secret;Persist Security Info=True;"
                             "User ID=sa;Initial Catalog=sfdb;Data Source=SRV01\\SQL2008;"
                             "Use Procedure for Prepare=1;Auto Translate=True;Packet Size=4096;"
                             "Workstation ID=SRV01\\SQL2008;Use Encryption for Data=False;"
                             "Tag with column collation when possible=False"));
}

TEST(ConnectionString, EqualsSignNeedsNoQuotes)
{
    const QString text = buildConnectionString(QStringLiteral("a=b"), QStringLiteral("u"),
                                               QStringLiteral("d"), QStringLiteral("s"));
    EXPECT_TRUE(text.startsWith(QStringLiteral("Provider=SQLOLEDB.1;Password=a=b;Persist")));
}

TEST(ConnectionString, UnsafeValuesAreQuotedSoNoKeyCanBeSmuggledIn)
{
    const QString text = buildConnectionString(QStringLiteral("x;Driver=evil"), QStringLiteral("u"),
                                               QStringLiteral("d"), QStringLiteral("s"));
    EXPECT_TRUE(text.startsWith(QStringLiteral("Provider=SQLOLEDB.1;Password=\"x;Driver=evil\";")));
    const auto pairs = parseConnectionString(text);
    EXPECT_FALSE(hasConnectionStringKey(pairs, QStringLiteral("Driver")));
    EXPECT_EQ(pairs.size(), 12u);
}

struct RoundTrip {
    const char* name;
    const char* value; // UTF-8
};

class ConnectionStringRoundTrip : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(ConnectionStringRoundTrip, EveryFieldReadsBackExactly)
{
    const QString v = QString::fromUtf8(GetParam().value);
    const auto pairs = parseConnectionString(buildConnectionString(v, v, v, v));
    ASSERT_EQ(pairs.size(), 12u);
    for (const char* key : {"Password", "User ID", "Initial Catalog", "Data Source", "Workstation ID"})
        EXPECT_EQ(connectionStringValue(pairs, QString::fromLatin1(key)), v) << key;
    EXPECT_EQ(connectionStringValue(pairs, QStringLiteral("provider")), QStringLiteral("SQLOLEDB.1"));
    EXPECT_EQ(connectionStringValue(pairs, QStringLiteral("Tag with column collation when possible")),
              QStringLiteral("False"));
}

const RoundTrip kRoundTrips[] = {
    {"Empty", ""},
    {"Semicolon", "pa;ss"},
    {"TrailingSemicolon", "pass;"},
    {"Equals", "a=b==c"},
    {"DoubleQuoteInside", "pa\"ss"},
    {"LeadingDoubleQuote", "\"pass"},
    {"LeadingSingleQuote", "'pass'"},
    {"BothQuotes", "'a\"b';\"c"},
    {"LeadingBlank", " pass"},
    {"TrailingBlank", "pass "},
    {"OnlyBlanks", "   "},
    {"InnerBlank", "pa ss"},
    {"Chinese", "水务营业收费"},
    {"ChineseWithSemicolon", "水务;收费"},
    {"Braces", "{x}"},
};

INSTANTIATE_TEST_SUITE_P(ConnectionString, ConnectionStringRoundTrip, ::testing::ValuesIn(kRoundTrips),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(ConnectionStringParser, FollowsTheOleDbRules)
{
    const auto pairs = parseConnectionString(
        QStringLiteral(" Provider = SQLOLEDB.1 ;Password='it''s';User ID=\"a\"\"b\" ;"
                       "Initial Catalog=;;Key==Name=v;Data Source= x y ;"));
    ASSERT_EQ(pairs.size(), 6u);
    EXPECT_EQ(pairs[0], std::make_pair(QStringLiteral("Provider"), QStringLiteral("SQLOLEDB.1")));
    EXPECT_EQ(pairs[1].second, QStringLiteral("it's"));
    EXPECT_EQ(pairs[2].second, QStringLiteral("a\"b"));
    EXPECT_EQ(pairs[3].second, QString());
    EXPECT_EQ(pairs[4], std::make_pair(QStringLiteral("Key=Name"), QStringLiteral("v")));
    EXPECT_EQ(pairs[5].second, QStringLiteral("x y"));
    EXPECT_EQ(connectionStringValue(pairs, QStringLiteral("DATA SOURCE")), QStringLiteral("x y"));
    EXPECT_EQ(connectionStringValue(pairs, QStringLiteral("absent")), QString());
}

TEST(ConnectionStringParser, LastOccurrenceOfAKeyWins)
{
    const auto pairs = parseConnectionString(QStringLiteral("a=1;A=2"));
    EXPECT_EQ(connectionStringValue(pairs, QStringLiteral("a")), QStringLiteral("2"));
}

class MalformedConnectionString : public ::testing::TestWithParam<const char*> {};

TEST_P(MalformedConnectionString, FailsWithTheOleDbMessage)
{
    try {
        parseConnectionString(QString::fromUtf8(GetParam()));
        FAIL() << "accepted a malformed connection string";
    } catch (const Failure& f) {
        EXPECT_EQ(f.message(), QStringLiteral(
            "Format of the initialization string is not valid"));
    }
}

INSTANTIATE_TEST_SUITE_P(ConnectionStringParser, MalformedConnectionString,
                         ::testing::Values("Provider", "a=1;junk;b=2", "=value", "a=\"open",
                                         "a='x'y;b=1"));

TEST(ConnectionStringParser, EmptyTextHasNoPairs)
{
    EXPECT_TRUE(parseConnectionString(QString()).empty());
    EXPECT_TRUE(parseConnectionString(QStringLiteral(" ; ;")).empty());
}

} // namespace
