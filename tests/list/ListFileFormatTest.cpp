#include "list/ListFileFormat.h"

#include "FakeCodePage.h"

#include <gtest/gtest.h>

namespace {

struct TWholeCase
{
    const char* Name;
    std::string Content;
    bool Whole;
};

// GoogleTest names the case in its output instead of dumping its bytes.
void PrintTo(const TWholeCase& row, std::ostream* out)
{
    *out << row.Name;
}

// Only a file that holds a whole list tells which entries were deleted, so which files do is
// guarded as closely as the entries themselves.
const TWholeCase WholeCases[] = {
    { "AsSaved", "[General]\r\nComputers=2\r\n\r\n[0]\r\nName=a\r\n\r\n[1]\r\nName=b\r\n\r\n", true },
    { "EmptyList", "[General]\r\nComputers=0\r\n\r\n", true },
    { "SectionsOutOfOrder", "[General]\nComputers=2\n[1]\nName=b\n[0]\nName=a\n", true },
    { "EmptyNameCounts", "[General]\nComputers=1\n[0]\nName=\n", true },
    { "SectionsBeyondCountIgnored", "[General]\nComputers=1\n[0]\nName=a\n[1]\nx\n", true },
    { "ZeroBytes", "", false },
    { "CountMissing", "[General]\n[0]\nName=a\n", false },
    { "SectionMissing", "[General]\nComputers=2\n[0]\nName=a\n", false },
    { "NameMissing", "[General]\nComputers=2\n[0]\nName=a\n[1]\nOther=b\n", false },
    { "RepeatedSectionCountsOnce", "[General]\nComputers=2\n[0]\nName=a\n[0]\nName=b\n", false },
    { "RepeatedSectionWithoutNameFirst", "[General]\nComputers=1\n[0]\n[0]\nName=a\n", false },
    { "RepeatedSectionsOutOfOrder", "[General]\nComputers=2\n[1]\nName=b\n[0]\nName=a\n[1]\nx\n", true },
};

class ListFileWholeTest : public testing::TestWithParam<TWholeCase>
{
};

TEST_P(ListFileWholeTest, TellsWhetherTheFileHoldsAWholeList)
{
    const TFakeCodePage ansi;
    EXPECT_EQ(ParseListFile(GetParam().Content, ansi).Whole, GetParam().Whole);
}

INSTANTIATE_TEST_SUITE_P(Files, ListFileWholeTest, testing::ValuesIn(WholeCases),
                         [](const testing::TestParamInfo<TWholeCase>& row) { return std::string(row.param.Name); });

} // namespace
