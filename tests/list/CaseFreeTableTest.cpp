#include "list/CaseFreeTable.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

TEST(CaseFreeTableTest, HoldsTheFirstIndexOfEachTextAmongMany)
{
    // Enough texts to grow the table many times; numbers that differ in one late digit, and
    // texts that only letter case tells apart.
    std::vector<std::string> texts;
    for (int i = 0; i < 5000; ++i)
        texts.push_back("http://pc" + std::to_string(i) + ":80");
    for (const char* text : { "HTTP://PC7:80", "b\xC3\xBCro", "B\xC3\x9CRO", "\xE2\x84\xAA", "k" })
        texts.emplace_back(text);
    const auto textOf = [&](std::size_t index) -> const std::string& { return texts[index]; };

    TCaseFreeTable table;
    for (std::size_t i = 0; i < 5000; ++i)
        EXPECT_EQ(table.Add(i, textOf), i);
    const std::size_t held[] = { 7, 5001, 5001, 5003, 5003 };
    for (std::size_t i = 5000; i < texts.size(); ++i)
        EXPECT_EQ(table.Add(i, textOf), held[i - 5000]) << texts[i];

    EXPECT_EQ(table.Find("http://pc0:80", textOf), 0u);
    EXPECT_EQ(table.Find("HTTP://PC4999:80", textOf), 4999u);
    EXPECT_EQ(table.Find("Http://Pc7:80", textOf), 7u);
    EXPECT_EQ(table.Find("B\xC3\xBCRO", textOf), 5001u);
    EXPECT_EQ(table.Find("K", textOf), 5003u);
    EXPECT_EQ(table.Find("http://pc5000:80", textOf), TCaseFreeTable::None);
    EXPECT_EQ(table.Find("http://pc7:8", textOf), TCaseFreeTable::None);
}

TEST(CaseFreeTableTest, ClearForgetsEveryIndex)
{
    const std::vector<std::string> texts { "a", "b" };
    const auto textOf = [&](std::size_t index) -> const std::string& { return texts[index]; };
    TCaseFreeTable table;
    EXPECT_EQ(table.Find("a", textOf), TCaseFreeTable::None);
    table.Add(0, textOf);
    table.Clear();
    EXPECT_EQ(table.Find("a", textOf), TCaseFreeTable::None);
    EXPECT_EQ(table.Add(1, textOf), 1u);
    EXPECT_EQ(table.Find("B", textOf), 1u);
}

} // namespace
