#include "list/ComputerList.h"

#include "FakeControls.h"
#include "platform/common/Text.h"
#include "platform/OstrelError.h"

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace {

class ComputerListTest : public testing::Test
{
protected:
    TFakeListBox Rows { TControlDecl {} };
    TComputerList List { Rows };

    bool Online(int index) const { return List.Status(index) && List.Status(index)->Online; }
};

TEST_F(ComputerListTest, MergeMarksMatchWithoutRegardToUnicodeCase)
{
    List.Append("http://büro:80", TInfo(false));
    List.Append("http://pc1:8080", TInfo(false));

    List.MergeDiscovered("http://BÜRO:80");
    List.MergeDiscovered("http://PC1:8080");

    ASSERT_EQ(List.Count(), 2);
    EXPECT_TRUE(Online(0));
    EXPECT_TRUE(Online(1));
    EXPECT_EQ(List.Text(0), "http://büro:80");
    EXPECT_EQ(List.Text(1), "http://pc1:8080");
}

TEST_F(ComputerListTest, MergeAppendsUnknownAddressOnline)
{
    List.Append("John-PC:8080", std::nullopt);
    List.MergeDiscovered("http://John-PC:8080");

    ASSERT_EQ(List.Count(), 2);
    EXPECT_EQ(List.Text(1), "http://John-PC:8080");
    EXPECT_TRUE(Online(1));
}

TEST_F(ComputerListTest, MergeLeavesEntryWithoutStatusAloneAndAddsNothing)
{
    List.Append("http://pc1:8080", std::nullopt);
    List.MergeDiscovered("http://pc1:8080");

    ASSERT_EQ(List.Count(), 1);
    EXPECT_EQ(List.Status(0), nullptr);
}

TEST_F(ComputerListTest, MergeMarksOnlyTheFirstOfEqualTexts)
{
    List.Append("http://pc1:8080", TInfo(false));
    List.Append("http://PC1:8080", TInfo(false));
    List.MergeDiscovered("http://pc1:8080");

    EXPECT_TRUE(Online(0));
    EXPECT_FALSE(Online(1));
}

TEST_F(ComputerListTest, FindExactComparesWholeTexts)
{
    List.Append("", std::nullopt);
    List.Append("pc1", std::nullopt);
    List.Append("pc10", std::nullopt);

    EXPECT_EQ(List.FindExact("PC10"), 2);
    EXPECT_EQ(List.FindExact(""), 0);
    EXPECT_EQ(List.FindExact("pc"), TComputerList::None);
}

// The first entry equal to text, found the slow way: by comparing it with every entry.
int FirstSameText(const TComputerList& list, const std::string& text)
{
    for (int index = 0; index < list.Count(); ++index)
        if (SameText(list.Text(index), text))
            return index;
    return TComputerList::None;
}

TEST_F(ComputerListTest, FindExactFollowsEveryChangeOfTheRows)
{
    // Texts that clash by letter case, so that equal entries come and go in every order.
    const std::vector<std::string> texts { "http://pc1:80",         "http://PC1:80", "http://B\xC3\x9CRO:80",
                                           "http://b\xC3\xBCro:80", "http://pc2:80", "" };
    std::mt19937 random(7);
    auto pick = [&](std::size_t count) { return std::uniform_int_distribution<std::size_t>(0, count - 1)(random); };
    for (int change = 0; change < 500; ++change) {
        const auto operation = pick(4);
        if (List.Count() == 0 || operation <= 1)
            List.Append(texts[pick(texts.size())], TInfo(false));
        else if (operation == 2)
            List.ReplaceText(static_cast<int>(pick(List.Count())), texts[pick(texts.size())]);
        else
            List.Delete(static_cast<int>(pick(List.Count())));
        for (const auto& text : texts)
            ASSERT_EQ(List.FindExact(text), FirstSameText(List, text)) << "change " << change << ", text " << text;
    }
}

TEST_F(ComputerListTest, ReplaceTextKeepsStatusAndSelection)
{
    List.Append("a", TInfo(true));
    List.Append("b", TInfo(false));
    List.SetSelection(0);

    List.ReplaceText(0, "c");

    EXPECT_EQ(List.Text(0), "c");
    EXPECT_TRUE(Online(0));
    EXPECT_EQ(List.Selection(), 0);
}

TEST_F(ComputerListTest, DeleteMovesStatusWithItsEntryAndDropsSelection)
{
    List.Append("a", TInfo(false));
    List.Append("b", TInfo(true));
    List.Append("c", std::nullopt);
    List.SetSelection(0);

    List.Delete(0);

    ASSERT_EQ(List.Count(), 2);
    EXPECT_EQ(List.Text(0), "b");
    EXPECT_TRUE(Online(0));
    EXPECT_EQ(List.Status(1), nullptr);
    EXPECT_EQ(List.Selection(), TComputerList::None);
}

TEST_F(ComputerListTest, SelectionRefusesIndexesThatNameNoEntry)
{
    List.Append("a", std::nullopt);
    List.Append("b", std::nullopt);
    List.SetSelection(1);

    for (int index : { -1, 2, 100 })
        List.SetSelection(index);

    EXPECT_EQ(List.Selection(), 1);
}

TEST_F(ComputerListTest, MarkAllOfflineTouchesOnlyStatusesAndAlwaysRedraws)
{
    List.Append("a", TInfo(true));
    List.Append("b", std::nullopt);
    const int before = Rows.Invalidations;

    List.MarkAllOffline();

    EXPECT_FALSE(Online(0));
    EXPECT_EQ(List.Status(1), nullptr);
    EXPECT_EQ(Rows.Invalidations, before + 1);
}

TEST_F(ComputerListTest, RowsDescribeTheirEntrysStatusThroughEveryChange)
{
    const auto descriptions = [this] {
        std::vector<std::string> all;
        for (int row = 0; row < Rows.RowCount(); ++row)
            all.push_back(Rows.RowDescription(row));
        return all;
    };
    List.Append("loaded", TInfo(false));
    List.Append("typed", std::nullopt);
    List.MergeDiscovered("found");
    EXPECT_EQ(descriptions(), (std::vector<std::string> { "offline", "", "online" }));

    List.MergeDiscovered("LOADED");
    List.MarkOnline(1);
    EXPECT_EQ(descriptions(), (std::vector<std::string> { "online", "", "online" }));

    List.MarkAllOffline();
    List.ReplaceText(2, "renamed");
    List.Delete(0);
    EXPECT_EQ(descriptions(), (std::vector<std::string> { "", "offline" }));
}

TEST_F(ComputerListTest, EveryChangeRedraws)
{
    List.Append("a", std::nullopt);
    List.ReplaceText(0, "b");
    List.MarkOnline(0);
    List.MarkAllOffline();
    List.Delete(0);

    EXPECT_EQ(Rows.Invalidations, 5);
}

TEST_F(ComputerListTest, IndexOutsideTheListIsAnError)
{
    List.Append("a", std::nullopt);

    EXPECT_THROW(List.Text(1), EOstrelError);
    EXPECT_THROW(List.Delete(-1), EOstrelError);
    EXPECT_THROW(List.MarkOnline(1), EOstrelError);
    EXPECT_EQ(List.Count(), 1);
}

TEST(ComputerListOverFilledControlTest, ExistingRowsAreEntriesWithoutStatus)
{
    TFakeListBox rows { TControlDecl {} };
    rows.AppendRow("typed");
    TComputerList list(rows);

    list.MergeDiscovered("TYPED");
    list.Append("next", TInfo(true));

    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Status(0), nullptr);
    EXPECT_TRUE(list.Status(1)->Online);
}

} // namespace
