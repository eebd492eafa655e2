#include "platform/common/Text.h"

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
    // Tables find a text by its hash first.
    if (row.Same) {
        EXPECT_EQ(FoldedHash(row.A), FoldedHash(row.B));
    }
}

const TSameTextCase Cases[] = {
    { "AsciiLetterCase", "http://PC1:8080", "http://pc1:8080", true },
    { "AsciiDifferentLength", "http://pc1:8080", "http://pc1:80800", false },
    { "AsciiLetterCaseAroundEveryWord", "AZ@[`{az-Computer-Of-The-Lab:8080", "az@[`{AZ-cOMPUTER-oF-tHE-lAB:8080",
      true },
    { "AsciiAndUnicodeFoldingAlike", "HTTP://WORKSTATION-\xE2\x84\xAA:8080", "http://workstation-k:8080", true },
    { "BracketsAreNotLetters", "[0]", "{0}", false },
    { "AtIsNotBacktick", "@", "`", false },
    { "EmptyTexts", "", "", true },
    { "UnicodeLetterCase", "http://B\xC3\x9CRO:80", "http://b\xC3\xBCro:80", true },
    { "KelvinSignFoldsToAsciiK", "\xE2\x84\xAA", "k", true },
    { "UnicodeDifferentLetter", "b\xC3\xBCro", "buro", false },
    { "GreekFinalSigma", "\xCE\xA3", "\xCF\x82", true },
    { "SharpSIsNotDoubleS",
      "stra\xC3\x9F"
      "e",
      "strasse", false },
    { "CapitalSharpSFoldsToSharpS", "\xE1\xBA\x9E", "\xC3\x9F", true },
    { "DottedCapitalIHasNoSimpleFolding", "\xC4\xB0", "i", false },
    { "InvalidBytesKeptBesideFoldedLetters",
      "A\xFF"
      "B\xC3\x9C",
      "a\xFF"
      "b\xC3\xBC",
      true },
    { "DifferentInvalidBytesStayDifferent", "\xFF", "\xFE", false },
    { "TruncatedSequenceIsNotItsLetter", "B\xC3", "b\xC3", true },
    { "OverlongFormIsNotItsLetter", "\xC1\x81", "a", false },
    { "EncodedSurrogateIsNotDecoded", "\xED\xA0\x80", "\xED\xA0\x80", true },
};

INSTANTIATE_TEST_SUITE_P(Texts, SameTextTest, ::testing::ValuesIn(Cases),
                         [](const auto& test) { return std::string(test.param.Name); });

TEST(FoldCase, FoldsEveryLetterAndKeepsTheRest)
{
    EXPECT_EQ(FoldCase("http://B\xC3\x9CRO-\xE2\x84\xAA:80"), "http://b\xC3\xBCro-k:80");
    EXPECT_EQ(FoldCase("\xF0\x90\x90\x80\xFF"), "\xF0\x90\x90\xA8\xFF") << "four-byte letter, then a stray byte";
    EXPECT_EQ(FoldCase(""), "");
}

} // namespace
