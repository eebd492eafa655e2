#include "platform/common/AnchorLayout.h"

#include <gtest/gtest.h>
#include <ostream>

namespace {

// Every row: a control declared at { 10, 20, 100, 30 } in a 300 x 200 client area, with a
// label's own width of 57 where its declared width is 0.
struct TAnchorCase
{
    const char* Name;
    TAnchors Anchors;
    int DeclaredWidth; // 0: a label sizing itself to its caption
    int ClientWidth;
    int ClientHeight;
    TBounds Expected;
};

void PrintTo(const TAnchorCase& row, std::ostream* out)
{
    *out << row.Name;
}

constexpr TAnchors LeftTop { true, true, false, false };
constexpr TAnchors RightTop { false, true, true, false };
constexpr TAnchors LeftBottom { true, false, false, true };
constexpr TAnchors RightBottom { false, false, true, true };
constexpr TAnchors LeftRightTop { true, true, true, false };
constexpr TAnchors LeftTopBottom { true, true, false, true };
constexpr TAnchors AllSides { true, true, true, true };
constexpr TAnchors NoSide { false, false, false, false };

class AnchorLayoutTest : public ::testing::TestWithParam<TAnchorCase>
{
};

TEST_P(AnchorLayoutTest, KeepsTheAnchoredSidesDistancesToTheClientArea)
{
    const auto& row = GetParam();
    const TBounds placed = AnchoredBounds({ 10, 20, row.DeclaredWidth, 30 }, row.Anchors, 57, 300, 200, row.ClientWidth,
                                          row.ClientHeight);
    EXPECT_EQ(placed.Left, row.Expected.Left);
    EXPECT_EQ(placed.Top, row.Expected.Top);
    EXPECT_EQ(placed.Width, row.Expected.Width);
    EXPECT_EQ(placed.Height, row.Expected.Height);
}

INSTANTIATE_TEST_SUITE_P(
    Anchors, AnchorLayoutTest,
    ::testing::Values(TAnchorCase { "AsDeclared", AllSides, 100, 300, 200, { 10, 20, 100, 30 } },
                      TAnchorCase { "LeftTopStays", LeftTop, 100, 350, 240, { 10, 20, 100, 30 } },
                      TAnchorCase { "RightFollows", RightTop, 100, 350, 240, { 60, 20, 100, 30 } },
                      TAnchorCase { "BottomFollows", LeftBottom, 100, 350, 240, { 10, 60, 100, 30 } },
                      TAnchorCase { "CornerFollows", RightBottom, 100, 350, 240, { 60, 60, 100, 30 } },
                      TAnchorCase { "LeftRightStretches", LeftRightTop, 100, 350, 240, { 10, 20, 150, 30 } },
                      TAnchorCase { "TopBottomStretches", LeftTopBottom, 100, 350, 240, { 10, 20, 100, 70 } },
                      TAnchorCase { "AllSidesStretch", AllSides, 100, 350, 240, { 10, 20, 150, 70 } },
                      TAnchorCase { "NoSideStaysAtLeftTop", NoSide, 100, 350, 240, { 10, 20, 100, 30 } },
                      TAnchorCase { "RightFollowsASmallerArea", RightBottom, 100, 280, 190, { -10, 10, 100, 30 } },
                      TAnchorCase { "StretchShrinksWithTheArea", AllSides, 100, 260, 190, { 10, 20, 60, 20 } },
                      TAnchorCase { "NeverANegativeSize", AllSides, 100, 150, 100, { 10, 20, 0, 0 } },
                      TAnchorCase { "SelfSizedLabelKeepsItsWidth", RightTop, 0, 350, 240, { 60, 20, 57, 30 } },
                      TAnchorCase {
                          "SelfSizedLabelStretchesFromItsWidth", LeftRightTop, 0, 350, 240, { 10, 20, 107, 30 } }),
    [](const auto& row) { return std::string(row.param.Name); });

} // namespace
