#include "list/WholeNumber.h"

#include <gtest/gtest.h>

namespace {

struct TWholeNumberCase
{
    const char* Name;
    const char* Text;
    int Expected;
};

// GoogleTest names the case in its output instead of dumping its bytes.
void PrintTo(const TWholeNumberCase& row, std::ostream* out)
{
    *out << row.Name;
}

constexpr int Default = 77;

const TWholeNumberCase Cases[] = {
    { "Zero", "0", 0 },
    { "Decimal", "42", 42 },
    { "LeadingZeros", "007", 7 },
    { "Plus", "+5", 5 },
    { "Minus", "-5", -5 },
    { "Largest", "2147483647", 2147483647 },
    { "Smallest", "-2147483648", -2147483647 - 1 },
    { "AboveRange", "2147483648", Default },
    { "BelowRange", "-2147483649", Default },
    { "HugeDecimal", "99999999999999999999999", Default },
    { "HexLowerPrefix", "0x1f", 31 },
    { "HexUpperPrefix", "0X1F", 31 },
    { "HexDollar", "$10", 16 },
    { "HexLetterX", "x10", 16 },
    { "HexCapitalX", "X10", 16 },
    { "HexAllOnesIsMinusOne", "$FFFFFFFF", -1 },
    { "HexHighBit", "0x80000000", -2147483647 - 1 },
    { "HexLeadingZeros", "0x0000000000ff", 255 },
    { "HexTooLarge", "$100000000", Default },
    { "HexNegated", "-$10", -16 },
    { "HexPrefixAlone", "0x", Default },
    { "DollarAlone", "$", Default },
    { "HexBadDigit", "$1g", Default },
    { "Empty", "", Default },
    { "SignAlone", "-", Default },
    { "TwoSigns", "+-1", Default },
    { "Letters", "abc", Default },
    { "TrailingText", "12abc", Default },
    { "InnerSpace", "1 2", Default },
    { "LeadingSpace", " 1", Default },
    { "Fraction", "1.5", Default },
    { "DoublePrefix", "00x1", Default },
};

class WholeNumberTest : public testing::TestWithParam<TWholeNumberCase>
{
};

TEST_P(WholeNumberTest, ParsesOrGivesDefault)
{
    EXPECT_EQ(ParseWholeNumber(GetParam().Text, Default), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Texts, WholeNumberTest, testing::ValuesIn(Cases),
                         [](const testing::TestParamInfo<TWholeNumberCase>& row) {
                             return std::string(row.param.Name);
                         });

} // namespace
