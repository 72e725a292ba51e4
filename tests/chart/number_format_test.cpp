#include "chart/number_format.h"

#include <gtest/gtest.h>
#include <limits>

using namespace kvet::chart;

struct FormatCase {
    double value;
    const char* expected;
};

class ValueFormat : public ::testing::TestWithParam<FormatCase> {};

TEST_P(ValueFormat, GroupsThousandsAndKeepsAtMostThreeDecimals)
{
    EXPECT_EQ(formatValue(GetParam().value), QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Values, ValueFormat,
                         ::testing::Values(FormatCase{1234.5, "1,234.5"}, FormatCase{0, "0"}, FormatCase{999, "999"},
                                         FormatCase{1000, "1,000"}, FormatCase{1234567.891, "1,234,567.891"},
                                         FormatCase{0.12345, "0.123"}, FormatCase{0.0004, "0"},
                                         FormatCase{-0.0004, "0"}, FormatCase{-1234567, "-1,234,567"},
                                         FormatCase{2.5, "2.5"}, FormatCase{1e15, "1,000,000,000,000,000"},
                                         FormatCase{std::numeric_limits<double>::quiet_NaN(), ""},
                                         FormatCase{std::numeric_limits<double>::infinity(), ""}));

class PercentFormat : public ::testing::TestWithParam<FormatCase> {};

TEST_P(PercentFormat, ShowsTheShareWithAtMostTwoDecimals)
{
    EXPECT_EQ(formatPercent(GetParam().value), QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Shares, PercentFormat,
                         ::testing::Values(FormatCase{0.4567, "45.67 %"}, FormatCase{1, "100 %"}, FormatCase{0, "0 %"},
                                         FormatCase{0.276, "27.6 %"}, FormatCase{0.0000401, "0 %"},
                                         FormatCase{0.12345, "12.35 %"}, FormatCase{12.5, "1250 %"},
                                         FormatCase{std::numeric_limits<double>::quiet_NaN(), ""}));
