#include "ui/ListPointer.h"

#include "FakeMainWindow.h"

#include <gtest/gtest.h>

namespace {
struct TPointCase
{
    const char* Name;
    TPoint At;
    int TopIndex;
    int WhenExisting;
    int OtherwiseRow;
};

// GoogleTest names the case in its output instead of dumping its bytes.
void PrintTo(const TPointCase& row, std::ostream* out)
{
    *out << row.Name;
}

class RowAtPointTest : public ::testing::TestWithParam<TPointCase>
{
};

// Three rows of 50 pixels in a 283 x 423 list.
TEST_P(RowAtPointTest, FindsTheRowUnderThePoint)
{
    TFakeMainWindow window;
    window.Fill({ "a", "b", "c" });
    window.List().SetTopIndex(GetParam().TopIndex);

    EXPECT_EQ(RowAtPoint(window.List(), GetParam().At, true), GetParam().WhenExisting);
    EXPECT_EQ(RowAtPoint(window.List(), GetParam().At, false), GetParam().OtherwiseRow);
}

INSTANTIATE_TEST_SUITE_P(Points, RowAtPointTest,
                         ::testing::Values(TPointCase { "FirstRowCorner", { 0, 0 }, 0, 0, 0 },
                                           TPointCase { "SecondRowTopEdge", { 100, 50 }, 0, 1, 1 },
                                           TPointCase { "LastRowBottomPixel", { 282, 149 }, 0, 2, 2 },
                                           TPointCase { "BelowTheLastRow", { 10, 150 }, 0, -1, 3 },
                                           TPointCase { "ScrolledByOne", { 10, 10 }, 1, 1, 1 },
                                           TPointCase { "ScrolledBelowTheLastRow", { 10, 100 }, 1, -1, 3 },
                                           TPointCase { "KeyboardMarker", { -1, -1 }, 0, -1, -1 },
                                           TPointCase { "RightOfTheClientArea", { 283, 10 }, 0, -1, -1 },
                                           TPointCase { "BelowTheClientArea", { 10, 423 }, 0, -1, -1 }),
                         [](const auto& row) { return std::string(row.param.Name); });

TEST(ListPointerTest, APressSelectsTheRowUnderThePointerAndBelowTheRowsKeepsTheSelection)
{
    TFakeMainWindow window;
    window.Fill({ "a", "b", "c" });

    SelectRowUnderPointer(window.List(), window.Computers, { 5, 120 });
    EXPECT_EQ(window.Computers.Selection(), 2);

    SelectRowUnderPointer(window.List(), window.Computers, { 5, 300 });
    EXPECT_EQ(window.Computers.Selection(), 2);
}

TEST(ListPointerTest, TheMenuShowsOnlyOverARowAndNeverFromTheKeyboard)
{
    TFakeMainWindow window;
    EXPECT_TRUE(SuppressContextMenu(window.List(), { 10, 10 }));

    window.Fill({ "a" });
    window.Computers.SetSelection(0);
    EXPECT_FALSE(SuppressContextMenu(window.List(), { 10, 10 }));
    EXPECT_TRUE(SuppressContextMenu(window.List(), { 10, 60 }));
    EXPECT_TRUE(SuppressContextMenu(window.List(), { -1, -1 }));
}
} // namespace
