#include "platform/Text.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <string_view>

namespace {

struct TSameTextCase
{
    const char* Name;
    std::string_view A;
    std::string_view B;
    bool Same;
};

void PrintTo(const TSameTextCase& row, std::ostream* out)
{
    *out << row.Name;
}

class SameTextTest : public ::testing::TestWithParam<TSameTextCase>
{
};

TEST_P(SameTextTest, ComparesWithoutRegardToLetterCase)
{
    const auto& row = GetParam();
    EXPECT_EQ(SameText(row.A, row.B), row.Same);
    EXPECT_EQ(SameText(row.B, row.A), row.Same);
}

const TSameTextCase Cases[] = {
    { "AsciiLetterCase", "http://PC1:8080", "http://pc1:8080", true },
    { "AsciiDifferentLength", "http://pc1:8080", "http://pc1:80800", false },
    { "BracketsAreNotLetters", "[0]", "{0}", false },
    { "AtIsNotBacktick", "@", "`", false },
    { "EmptyTexts", "", "", true },
    { "UnicodeLetterCase", "http://B\xC3\x9CRO:80", "http://b\xC3\xBCro:80", true },
    { "KelvinSignFoldsToAsciiK", "\xE2\x84\xAA", "k", true },
    { "UnicodeDifferentLetter", "b\xC3\xBCro", "buro", false },
};

INSTANTIATE_TEST_SUITE_P(Texts, SameTextTest, ::testing::ValuesIn(Cases),
                         [](const auto& test) { return std::string(test.param.Name); });

} // namespace
