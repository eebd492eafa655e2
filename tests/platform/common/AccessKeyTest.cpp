#include "platform/common/AccessKey.h"

#include <gtest/gtest.h>

namespace {
struct TCaptionCase
{
    const char* Name;
    const char* Caption;
    const char* Expected;
};

// GoogleTest names the case in its output instead of dumping its bytes.
void PrintTo(const TCaptionCase& row, std::ostream* out)
{
    *out << row.Name;
}

class AccessKeyTest : public ::testing::TestWithParam<TCaptionCase>
{
};

TEST_P(AccessKeyTest, MarksTheFirstLetterAndKeepsAmpersandsVisible)
{
    EXPECT_EQ(WithAccessKey(GetParam().Caption), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Captions, AccessKeyTest,
                         ::testing::Values(TCaptionCase { "Open", "Open", "&Open" },
                                           TCaptionCase { "LeadingBlank", " Edit", " &Edit" },
                                           TCaptionCase { "Ampersand", "&Delete", "&&&Delete" },
                                           TCaptionCase { "AmpersandInside", "Save & go", "&Save && go" },
                                           TCaptionCase { "NonAscii",
                                                          "\xC3\x9C"
                                                          "bersicht",
                                                          "&\xC3\x9C"
                                                          "bersicht" },
                                           TCaptionCase { "NoLetter", "- ", "- " }),
                         [](const auto& row) { return std::string(row.param.Name); });
} // namespace
