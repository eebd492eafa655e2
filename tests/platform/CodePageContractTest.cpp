// The code page's contract, on whichever backend this program was built for.
#include "ContractBackend.h"
#include "list/TextCodec.h"
#include "platform/OstrelError.h"

#include <gtest/gtest.h>

namespace {

struct TPageCase
{
    const char* Name;
    unsigned Page;
    std::string Text;
    std::string Bytes;
};

void PrintTo(const TPageCase& row, std::ostream* out)
{
    *out << row.Name;
}

class CodePageRoundTrip : public testing::TestWithParam<TPageCase>
{
};

TEST_P(CodePageRoundTrip, TextBecomesThePagesBytesAndBack)
{
    const auto& row = GetParam();
    const auto page = ContractBackend().CodePage(row.Page);
    if (!page)
        GTEST_SKIP() << "no code page " << row.Page << " on this backend";
    EXPECT_EQ(page->Number(), row.Page);
    EXPECT_EQ(page->FromUtf8(row.Text), row.Bytes);
    EXPECT_EQ(page->ToUtf8(row.Bytes), row.Text);
}

const TPageCase PageCases[] = {
    { "WesternEuropean", 1252, "Büro €", "B\xFCro \x80" },
    { "Cyrillic", 1251, "Жук", "\xC6\xF3\xEA" },
    { "Japanese", 932, "日本", "\x93\xFA\x96\x7B" },
    { "Utf8", 65001, "Büro 😀", "Büro 😀" },
    { "Empty", 65001, "", "" },
};

INSTANTIATE_TEST_SUITE_P(Pages, CodePageRoundTrip, testing::ValuesIn(PageCases),
                         [](const testing::TestParamInfo<TPageCase>& row) { return std::string(row.param.Name); });

struct TUnmappableCase
{
    const char* Name;
    unsigned Page;
    std::string Text;
};

void PrintTo(const TUnmappableCase& row, std::ostream* out)
{
    *out << row.Name;
}

class CodePageUnmappable : public testing::TestWithParam<TUnmappableCase>
{
};

TEST_P(CodePageUnmappable, TextWithACharacterThePageLacksHasNoBytes)
{
    const auto& row = GetParam();
    const auto page = ContractBackend().CodePage(row.Page);
    if (!page)
        GTEST_SKIP() << "no code page " << row.Page << " on this backend";
    EXPECT_EQ(page->FromUtf8(row.Text), std::nullopt);
}

// Windows would put "a" for "ā" and "u" for "ü" where the page lacks them ("best fit"),
// which would change the list's texts unseen.
const TUnmappableCase UnmappableCases[] = {
    { "CyrillicInWestern", 1252, "Жук" },
    { "LookAlikeInWestern", 1252, "ā" },
    { "OneAmongManyInWestern", 1252, "Büro Ж" },
    { "UmlautInCyrillic", 1251, "Ü" },
    { "UmlautInJapanese", 932, "ü" },
};

INSTANTIATE_TEST_SUITE_P(Pages, CodePageUnmappable, testing::ValuesIn(UnmappableCases),
                         [](const testing::TestParamInfo<TUnmappableCase>& row) {
                             return std::string(row.param.Name);
                         });

// True when bytes are valid UTF-8, as the list file's reader judges it.
bool IsUtf8(const std::string& bytes)
{
    try {
        const std::string marked = "\xEF\xBB\xBF" + bytes;
        const TDecodedText decoded(marked, *ContractBackend().CodePage(65001));
        return true;
    } catch (const EOstrelError&) {
        return false;
    }
}

TEST(CodePageContract, SystemPageKeepsAsciiAndReadsAnyBytesAsValidText)
{
    const TCodePage& page = ContractBackend().Files().AnsiCodePage();
    EXPECT_NE(page.Number(), 0u);
    EXPECT_EQ(page.FromUtf8("John-PC:8080"), "John-PC:8080");
    EXPECT_EQ(page.ToUtf8("John-PC:8080"), "John-PC:8080");

    std::string everyByte;
    for (int byte = 0; byte < 256; ++byte)
        everyByte += static_cast<char>(byte);
    for (const std::string& bytes : { everyByte, std::string("\xE9"), std::string("\x81"), std::string("t\xF0\x9F") })
        EXPECT_TRUE(IsUtf8(page.ToUtf8(bytes))) << testing::PrintToString(bytes);
}

TEST(CodePageContract, Utf8PageTakesValidTextAsItIsAndMarksMalformedBytes)
{
    const auto page = ContractBackend().CodePage(65001);
    ASSERT_TRUE(page);
    EXPECT_EQ(page->ToUtf8("\xE9t\xE9"), "\uFFFDt\uFFFD");
    EXPECT_EQ(page->FromUtf8("日本 😀 Жук"), "日本 😀 Жук");
}

} // namespace
