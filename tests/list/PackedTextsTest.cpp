#include "list/PackedTexts.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

TEST(PackedTextsTest, KeepsEachTextAndTellsListsApartByTheirTextsNotTheirCharacters)
{
    const TPackedTexts texts { "http://PC1:8080", "", "ü" };
    ASSERT_EQ(texts.Size(), 3u);
    EXPECT_EQ(std::vector<std::string>(texts.begin(), texts.end()),
              (std::vector<std::string> { "http://PC1:8080", "", "ü" }));

    // A save writes the list as it stands only while the file holds exactly the base.
    EXPECT_EQ(texts, (TPackedTexts { "http://PC1:8080", "", "ü" }));
    EXPECT_NE((TPackedTexts { "ab" }), (TPackedTexts { "a", "b" }));
    EXPECT_NE((TPackedTexts { "a" }), (TPackedTexts { "a", "" }));
    EXPECT_TRUE(TPackedTexts {}.Empty());
}

} // namespace
