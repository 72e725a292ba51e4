#include "data/odbc/odbc_result_reader.h"

#include <gtest/gtest.h>

using namespace kvet;
using namespace kvet::odbc;

namespace {

struct DecimalCase {
    const char* driverText;
    const char* plain; // empty: no number
};

class DecimalText : public ::testing::TestWithParam<DecimalCase> {};

TEST_P(DecimalText, BecomesPlainExactText)
{
    EXPECT_EQ(plainDecimalText(QByteArray(GetParam().driverText)), QString::fromLatin1(GetParam().plain));
}

INSTANTIATE_TEST_SUITE_P(
    OdbcResultReader, DecimalText,
    ::testing::Values(DecimalCase{"1234.5678", "1234.5678"},
                    DecimalCase{".5000", "0.5000"},       // SQL Server's money below one
                    DecimalCase{"-.2500", "-0.2500"},
                    DecimalCase{"+7", "7"},
                    DecimalCase{"0012.10", "12.10"},
                    DecimalCase{"-0.000", "0.000"},
                    DecimalCase{"5.", "5"},
                    DecimalCase{"1.5e3", "1500"},
                    DecimalCase{"1.25E-3", "0.00125"},
                    DecimalCase{"12345678901234567890123456789012345678",
                                "12345678901234567890123456789012345678"},
                    DecimalCase{" 42 ", "42"},
                    DecimalCase{"", ""},
                    DecimalCase{"-", ""},
                    DecimalCase{".", ""},
                    DecimalCase{"1e", ""},
                    DecimalCase{"1e999", ""},
                    DecimalCase{"12abc", ""},
                    DecimalCase{"1,5", ""}));

} // namespace
