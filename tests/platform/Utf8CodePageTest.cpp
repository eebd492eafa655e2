// How the UTF-8 code page reads bytes that are not all well-formed UTF-8: every byte that
// starts no character becomes U+FFFD, and reading goes on at the next byte.
#include "platform/posix/Utf8CodePage.h"

#include <gtest/gtest.h>
#include <ostream>

namespace {

struct TMalformedCase
{
    const char* Name;
    std::string Bytes;
    std::string Text;
};

void PrintTo(const TMalformedCase& row, std::ostream* out)
{
    *out << row.Name;
}

class Utf8CodePageReading : public testing::TestWithParam<TMalformedCase>
{
};

TEST_P(Utf8CodePageReading, GivesEachByteThatStartsNoCharacterItsOwnReplacement)
{
    EXPECT_EQ(TUtf8CodePage().ToUtf8(GetParam().Bytes), GetParam().Text);
}

const TMalformedCase MalformedCases[] = {
    { "WellFormedStaysAsItIs", "B\xC3\xBCro \xE2\x82\xAC \xF0\x9F\x98\x80 \xEF\xBF\xBE", "Büro € 😀 \uFFFE" },
    { "NulAndAsciiStay", std::string("a\0b", 3), std::string("a\0b", 3) },
    { "StrayBytesBetweenCharacters",
      "a\xFF"
      "b\x80\xE2\x82\xAC\xBF",
      "a\uFFFDb\uFFFD€\uFFFD" },
    { "CutCharacterAtTheEnd", "t\xF0\x9F\x98", "t\uFFFD\uFFFD\uFFFD" },
    { "CutCharacterBeforeAscii", "\xE2\x82x", "\uFFFD\uFFFDx" },
    { "OverlongForms", "\xC0\xAF\xE0\x80\xAF", "\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD" },
    { "Surrogate", "\xED\xA0\x80", "\uFFFD\uFFFD\uFFFD" },
    { "BeyondUnicode", "\xF4\x90\x80\x80\xF5", "\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD" },
    { "Empty", "", "" },
};

INSTANTIATE_TEST_SUITE_P(Bytes, Utf8CodePageReading, testing::ValuesIn(MalformedCases),
                         [](const testing::TestParamInfo<TMalformedCase>& row) { return std::string(row.param.Name); });

} // namespace
