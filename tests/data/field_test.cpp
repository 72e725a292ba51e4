// Column readers: the conversions that decide what numbers the charts show.
#include "data/failure.h"
#include "data/field.h"
#include "data/regional_format.h"

#include <gtest/gtest.h>

using namespace kvet;

namespace {

struct IntegerCase {
    Value value;
    std::int64_t expected;
};

class WholeNumberReading : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(WholeNumberReading, RoundsHalfToEven)
{
    const auto& c = GetParam();
    EXPECT_EQ(Field(c.value, ColumnKind::Decimal).asInteger(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Conversions, WholeNumberReading,
    ::testing::Values(
        IntegerCase{Decimal{"1234.5678"}, 1235}, IntegerCase{Decimal{"2.5"}, 2},
        IntegerCase{Decimal{"3.5"}, 4}, IntegerCase{Decimal{"-2.5"}, -2},
        IntegerCase{Decimal{"-3.5"}, -4}, IntegerCase{Decimal{"2.5000000001"}, 3},
        IntegerCase{Decimal{"0.4999"}, 0}, IntegerCase{Decimal{"-0.5"}, 0},
        IntegerCase{Decimal{"12.0000"}, 12}, IntegerCase{Decimal{".5"}, 0},
        IntegerCase{Decimal{"9223372036854775807"}, 9223372036854775807LL},
        IntegerCase{Decimal{"-9223372036854775808"}, std::numeric_limits<std::int64_t>::min()},
        IntegerCase{2.5, 2}, IntegerCase{3.5, 4}, IntegerCase{-2.5, -2}, IntegerCase{1234.5678, 1235},
        IntegerCase{-0.4, 0}, IntegerCase{std::int64_t(42), 42}, IntegerCase{QString("  17 "), 17},
        IntegerCase{QString("-8"), -8}, IntegerCase{Null{}, 0}));

TEST(WholeNumberReadingFailures, TextThatIsNoIntegerNamesItself)
{
    const std::vector<std::pair<Value, QString>> cases = {
        {QString("12a"), "'12a' is not a valid integer value"},
        {QString("1.5"), "'1.5' is not a valid integer value"},
        {QString(""), "'' is not a valid integer value"},
        {Decimal{"9223372036854775808"}, "'9223372036854775808' is not a valid integer value"},
        {Decimal{"9223372036854775807.5"}, "'9223372036854775807.5' is not a valid integer value"},
    };
    for (const auto& [value, message] : cases) {
        try {
            Field(value, ColumnKind::Text).asInteger();
            ADD_FAILURE() << message.toStdString();
        } catch (const Failure& f) {
            EXPECT_EQ(f.message(), message);
        }
    }
    EXPECT_THROW(Field(1e30, ColumnKind::Float).asInteger(), Failure);
    EXPECT_THROW(Field(std::nan(""), ColumnKind::Float).asInteger(), Failure);
    // A NULL text column fails as empty text does; a NULL number reads 0.
    EXPECT_THROW(Field(Null{}, ColumnKind::Text).asInteger(), Failure);
    EXPECT_EQ(Field(Null{}, ColumnKind::Integer).asInteger(), 0);
}

TEST(FloatAndTextReading, NullsAndNumbers)
{
    EXPECT_EQ(Field(Null{}, ColumnKind::Float).asFloat(), 0.0);
    EXPECT_EQ(Field(Null{}, ColumnKind::Text).asString(), QString());
    EXPECT_DOUBLE_EQ(Field(Decimal{"12.5000"}, ColumnKind::Decimal).asFloat(), 12.5);
    EXPECT_DOUBLE_EQ(Field(QString("12.5"), ColumnKind::Text).asFloat(), 12.5);
    EXPECT_THROW(Field(QString("abc"), ColumnKind::Text).asFloat(), Failure);
    EXPECT_EQ(Field(std::int64_t(20261208001), ColumnKind::Integer).asString(), QString("20261208001"));
    const QString sep = decimalSeparator();
    EXPECT_EQ(Field(Decimal{"12.5000"}, ColumnKind::Decimal).asString(), "12" + sep + "5");
    EXPECT_EQ(Field(Decimal{"300.0000"}, ColumnKind::Decimal).asString(), QString("300"));
    EXPECT_EQ(Field(1234567.25, ColumnKind::Float).asString(), "1234567" + sep + "25");
}

TEST(RegionalFormats, DateTimeLeavesOutMidnightAndNamesNoZone)
{
    const QLocale zh(QLocale::Chinese, QLocale::China);
    EXPECT_EQ(formatDateTime(QDateTime(QDate(2026, 3, 5), QTime(0, 0)), zh), QString("2026/3/5"));
    EXPECT_EQ(formatDateTime(QDateTime(QDate(2026, 3, 5), QTime(9, 7, 3)), zh), QString("2026/3/5 09:07:03"));
    const QLocale de(QLocale::German, QLocale::Germany);
    EXPECT_EQ(formatDateTime(QDateTime(QDate(2026, 3, 5), QTime(0, 0, 1)), de), QString("05.03.26 00:00:01"));
}

TEST(RegionalFormats, FixedWidthUsesTheRegionalSeparatorAndNeverCuts)
{
    EXPECT_EQ(formatFixed(12.5, 10, 2, QLocale::c()), QString("     12.50"));
    EXPECT_EQ(formatFixed(-3.005, 10, 2, QLocale(QLocale::German)), QString("     -3,00"));
    EXPECT_EQ(formatFixed(1e20, 10, 2, QLocale::c()).size(), 24);
}

} // namespace
