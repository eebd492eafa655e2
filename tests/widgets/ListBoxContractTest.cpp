// The main window's list on the backend this program was built with, wired to the list
// view's rules as the main window wires it, with every event recorded.
#include "list/ComputerList.h"
#include "list/Info.h"
#include "platform/Canvas.h"
#include "ui/ListPointer.h"
#include "ui/RowPainter.h"
#include "WidgetDriver.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t IconColour = 0x2E93E2;
constexpr std::uint32_t BadgeColour = 0x00CC33;
constexpr std::uint32_t White = 0xFFFFFF;
constexpr std::uint32_t SelectionOutline = 0x84ACDD;
constexpr std::uint32_t SelectionFill = 0xD0E5FF;

TFormDecl ListFormDecl()
{
    TFormDecl decl;
    decl.Name = "Form1";
    decl.ClientWidth = 283;
    decl.ClientHeight = 423;
    auto list = ControlDecl(TControlKind::ListBox, "ListBox1", "", { 0, 0, 283, 423 }, 0);
    list.ItemHeight = 50;
    list.Border = false;
    list.PopupMenu = "PopupMenu1";
    auto menu = ControlDecl(TControlKind::PopupMenu, "PopupMenu1", "", {}, -1);
    menu.Items
        = { { "ComputerOpen", "Open" }, { "N1", "-" }, { "ComputerEdit", "Edit" }, { "ComputerDelete", "Delete" } };
    decl.Controls = { list, menu };
    return decl;
}

class ListBoxContractTest : public ::testing::Test
{
protected:
    ListBoxContractTest()
    {
        List.OnDrawItem = [this](int row, const TRect& rect, TOwnerDrawState state, TCanvas& canvas) {
            Painter.Draw(canvas, rect, state.Selected, Computers.Text(row), Computers.Status(row));
        };
        List.OnMouseDown = [this](TMouseButton, TShiftState, TPoint at) {
            Events.push_back("down");
            SelectRowUnderPointer(List, Computers, at);
        };
        List.OnClick = [this] { Events.push_back("click " + std::to_string(List.ItemIndex())); };
        List.OnContextPopup = [this](TPoint at, bool& handled) {
            PopupAt = at;
            Events.push_back("popup " + std::to_string(at.X) + "," + std::to_string(at.Y));
            handled = SuppressContextMenu(List, at);
        };
        for (const char* item : { "ComputerOpen", "ComputerEdit", "ComputerDelete" })
            Menu.Item(item).OnClick = [this, item] { Events.push_back(std::string("chose ") + item); };
        Form->Show();
    }

    void Append(std::initializer_list<const char*> texts)
    {
        for (const char* text : texts)
            Computers.Append(text, std::nullopt);
    }
    void Fill(int rows)
    {
        for (int row = 0; row < rows; ++row)
            Computers.Append("row " + std::to_string(row), std::nullopt);
    }
    TSnapshot Render() { return Driver->Capture(List); }
    // A press of button that the primary button ends by going up again; the others stay down,
    // as going up would ask for the menu.
    void Press(TMouseButton button, TPoint at)
    {
        Driver->Press(List, button, at);
        if (button == TMouseButton::Left)
            Driver->Release(List, button, at);
    }
    // Runs check from the loop of every menu shown meanwhile, and closes the menu.
    void WatchMenus(std::function<void()> check)
    {
        Driver->RunSoon([this, check] {
            if (Driver->MenuOpen()) {
                check();
                Driver->CloseMenu();
            }
            WatchMenus(check);
        });
    }

    std::unique_ptr<TWidgetDriver> Driver = CreateWidgetDriver();
    std::unique_ptr<TForm> Form = Driver->Platform().CreateForm(ListFormDecl());
    TListBox& List = Form->ListBox("ListBox1");
    TPopupMenu& Menu = Form->PopupMenu("PopupMenu1");
    TComputerList Computers { List };
    std::unique_ptr<TPicture> Icon = Driver->SolidPicture(32, IconColour);
    std::unique_ptr<TPicture> Badge = Driver->SolidPicture(16, BadgeColour);
    TRowPainter Painter { *Icon, *Badge };
    std::vector<std::string> Events;
    TPoint PopupAt;
};

TEST_F(ListBoxContractTest, RowsShowSelectionColoursIconAndBadgeAndTheWindowColourBelow)
{
    Computers.Append("online", TInfo(true));
    Computers.Append("offline", TInfo(false));
    Computers.Append("by hand", std::nullopt);
    Computers.SetSelection(0);
    const TSnapshot image = Render();

    for (const TPoint corner : { TPoint { 0, 0 }, TPoint { 282, 0 }, TPoint { 0, 49 }, TPoint { 282, 49 } })
        EXPECT_EQ(image.At(corner.X, corner.Y), SelectionOutline) << corner.X << "," << corner.Y;
    EXPECT_EQ(image.At(1, 1), SelectionFill);
    EXPECT_EQ(image.At(281, 48), SelectionFill);
    EXPECT_EQ(image.At(0, 50), White);
    EXPECT_EQ(image.At(281, 98), White);

    EXPECT_EQ(image.At(9, 9), BadgeColour);
    EXPECT_EQ(image.At(30, 30), IconColour);
    EXPECT_EQ(image.At(9, 59), IconColour);
    EXPECT_EQ(image.At(9, 109), IconColour);
    EXPECT_EQ(image.At(8, 109), White);

    EXPECT_EQ(image.At(10, 150), Driver->WindowColour(List));
    EXPECT_EQ(image.At(282, 422), Driver->WindowColour(List));
}

TEST_F(ListBoxContractTest, KeyboardFocusDrawsNoOutline)
{
    Append({ "a", "b" });
    Computers.SetSelection(1);
    Driver->ClearFocus();
    const TSnapshot unfocused = Render();

    List.SetFocus();
    ASSERT_TRUE(List.Focused());
    // The caret on an unselected row would carry a focus outline in most systems.
    Driver->MoveCaret(List, 0);
    EXPECT_TRUE(Render() == unfocused);
}

bool IsInk(std::uint32_t pixel)
{
    return ((pixel >> 16 & 0xFF) + (pixel >> 8 & 0xFF) + (pixel & 0xFF)) / 3 < 128;
}

// The rightmost column of the rows between top and bottom holding a pixel darker than the fills.
int RightmostInk(const TSnapshot& image, int top, int bottom)
{
    for (int x = image.Width - 1; x >= 0; --x)
        for (int y = top; y < bottom; ++y)
            if (IsInk(image.At(x, y)))
                return x;
    return -1;
}

// How many rows between top and bottom hold ink in the columns from left to right.
int InkedRows(const TSnapshot& image, int left, int right, int top, int bottom)
{
    int rows = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            if (IsInk(image.At(x, y))) {
                ++rows;
                break;
            }
        }
    }
    return rows;
}

TEST_F(ListBoxContractTest, LongTextIsCutFivePixelsBeforeTheRightEdgeAndNarrowerWithAScrollBar)
{
    Computers.Append(std::string(200, 'W'), std::nullopt);
    const TSnapshot image = Render();
    int ink = RightmostInk(image, 16, 50);
    EXPECT_LT(ink, 278);
    EXPECT_GT(ink, 260);
    // The text ends in dots on its baseline, not in a letter cut off: the last six columns
    // hold at least two dots, narrow as the system's font draws them.
    EXPECT_LE(InkedRows(image, ink - 5, ink, 16, 50), 2);
    EXPECT_EQ(List.ClientRect().Right, 283);
    EXPECT_EQ(Driver->VerticalScrollBarWidth(List), 0);

    Fill(20);
    const int scrollBar = Driver->VerticalScrollBarWidth(List);
    ASSERT_GT(scrollBar, 0);
    EXPECT_FALSE(Driver->ScrollsSideways(List));
    const int right = List.ClientRect().Right;
    EXPECT_EQ(right, 283 - scrollBar);
    EXPECT_EQ(List.ItemRect(0).Right, right);
    ink = RightmostInk(Render(), 16, 50);
    EXPECT_LT(ink, right - 5);
    EXPECT_GT(ink, right - 25);
}

TEST_F(ListBoxContractTest, OnlyAPrimaryPressOrTheKeyboardRaisesTheClick)
{
    Append({ "alpha", "bravo", "charlie", "delta" });

    Press(TMouseButton::Right, { 10, 60 });
    Press(TMouseButton::Middle, { 10, 110 });
    EXPECT_EQ(List.ItemIndex(), 2);
    EXPECT_TRUE(List.Focused());

    Press(TMouseButton::Left, { 10, 10 });
    EXPECT_EQ(List.ItemIndex(), 0);

    Driver->Type({ Key(TKey::TName::Down), Key('D') });
    EXPECT_EQ(List.ItemIndex(), 3);

    // Neither the program nor a deselecting key raises it, nor empties the selection.
    List.SetItemIndex(1);
    Driver->Type({ Key(TKey::TName::Space, false, true) });
    EXPECT_EQ(List.ItemIndex(), 1);

    EXPECT_EQ(Events, (std::vector<std::string> { "down", "down", "click 0", "down", "click 1", "click 3" }));
}

TEST_F(ListBoxContractTest, PressesBelowTheLastRowKeepTheSelection)
{
    Append({ "a", "b" });
    Computers.SetSelection(1);
    for (const auto button : { TMouseButton::Left, TMouseButton::Right, TMouseButton::Middle })
        Press(button, { 10, 300 });
    EXPECT_EQ(List.ItemIndex(), 1);
    EXPECT_EQ(Events, (std::vector<std::string> { "down", "down", "down" }));
}

TEST_F(ListBoxContractTest, DeletingTheSelectedRowLeavesNoneSelectedAndAllWhite)
{
    Append({ "a", "b" });
    Computers.SetSelection(0);

    Computers.Delete(0);

    EXPECT_EQ(List.ItemIndex(), -1);
    const TSnapshot image = Render();
    EXPECT_EQ(image.At(0, 0), White);
    EXPECT_EQ(image.At(1, 1), White);
}

// Eight rows fit whole in the 423-pixel list; the ninth, row 8, shows only its top 23 pixels.
constexpr TPoint PartlyVisibleRow { 20, 410 };

TEST_F(ListBoxContractTest, AClickOnThePartlyVisibleRowOpensAndSelectsThatRowThoughTheListScrolls)
{
    Fill(12);
    // Opening pumps events while it waits, as the viewer does: the button comes up meanwhile,
    // and the list may scroll, by itself to show the selected row whole, or by its scroll bar.
    List.OnClick = [this] {
        Events.push_back("open " + std::to_string(List.ItemIndex()));
        Driver->Release(List, TMouseButton::Left, PartlyVisibleRow);
        Driver->ScrollDown(List);
        EXPECT_TRUE(Driver->WaitFor([this] { return List.TopIndex() > 0; }));
    };

    Driver->Press(List, TMouseButton::Left, PartlyVisibleRow);

    EXPECT_GT(List.TopIndex(), 0);
    EXPECT_EQ(Events, (std::vector<std::string> { "open 8", "down" }));
    EXPECT_EQ(List.ItemIndex(), 8);
}

TEST_F(ListBoxContractTest, ARightClickOnThePartlyVisibleLastRowSelectsItAndShowsTheMenu)
{
    Fill(9);
    WatchMenus([this] { Events.push_back("menu shown"); });

    Driver->Press(List, TMouseButton::Right, PartlyVisibleRow);
    Driver->Release(List, TMouseButton::Right, PartlyVisibleRow);

    EXPECT_EQ(List.ItemIndex(), 8);
    ASSERT_GT(List.TopIndex(), 0);
    // The menu request names the pressed row where it shows after the list scrolled.
    const TRect row = List.ItemRect(8);
    EXPECT_GE(PopupAt.Y, row.Top);
    EXPECT_LT(PopupAt.Y, row.Bottom);
    ASSERT_EQ(Events.size(), 3u);
    EXPECT_EQ(Events[0], "down");
    EXPECT_EQ(Events[2], "menu shown");
}

TEST_F(ListBoxContractTest, TheMenuOverARowOpensAtThePointerWithAccessKeys)
{
    Append({ "a", "b" });
    std::optional<TPoint> shownAt;
    std::vector<std::string> captions;
    Driver->RunSoon([&] {
        ASSERT_TRUE(Driver->WaitFor([this] { return Driver->MenuOpen(); }));
        shownAt = Driver->MenuTopLeft();
        captions = Driver->MenuCaptions(Menu);
        Driver->Type({ Key('E') });
        // A menu that took no access key would wait for the user.
        WatchMenus([this] { Events.push_back("menu left open"); });
    });

    Driver->Press(List, TMouseButton::Right, { 20, 70 });
    Driver->Release(List, TMouseButton::Right, { 20, 70 });

    ASSERT_TRUE(shownAt);
    const TPoint pointer = Driver->ToScreen(List, { 20, 70 });
    EXPECT_EQ(shownAt->X, pointer.X);
    EXPECT_EQ(shownAt->Y, pointer.Y);
    EXPECT_EQ(captions, (std::vector<std::string> { "&Open", "&Edit", "&Delete" }));
    EXPECT_EQ(Events, (std::vector<std::string> { "down", "popup 20,70", "chose ComputerEdit" }));
    EXPECT_EQ(List.ItemIndex(), 1);
}

TEST_F(ListBoxContractTest, KeyboardRequestsAndTheAreaBelowTheRowsShowNoMenu)
{
    Append({ "a", "b" });
    Computers.SetSelection(0);
    List.SetFocus();
    // Watches throughout, so that a menu shown fails the test instead of waiting for the user.
    WatchMenus([this] { Events.push_back("menu shown"); });

    Driver->Type({ Key(TKey::TName::ContextMenu) });
    Driver->RequestMenu(List, { -1, -1 });
    Driver->RequestMenu(List, { 10, 200 });
    Driver->WaitFor([] { return true; });

    EXPECT_EQ(Events, (std::vector<std::string> { "popup -1,-1", "popup -1,-1", "popup 10,200" }));
}

TEST_F(ListBoxContractTest, ScreenReadersReadEachRowsTextThenItsStatusThroughChangesAndDeletes)
{
    const std::string without = Driver->SystemWithoutRowDescriptions();
    if (!without.empty())
        GTEST_SKIP() << without << " shows no row descriptions to screen readers";
    Computers.Append("http://pc1:8080", TInfo(false));
    Computers.Append("typed:8080", std::nullopt);
    Computers.MergeDiscovered("http://pc2:8080");
    Computers.MergeDiscovered("http://PC1:8080");
    Computers.ReplaceText(2, "http://renamed:8080");
    auto rows = [this] {
        std::vector<std::string> texts;
        for (int row = 0; row < Computers.Count(); ++row)
            texts.push_back(Driver->AccessibleRowName(List, row) + ": " + Driver->AccessibleRowDescription(List, row));
        return texts;
    };

    EXPECT_EQ(rows(),
              (std::vector<std::string> { "http://pc1:8080: online", "typed:8080: ", "http://renamed:8080: online" }));
    Computers.Delete(0);
    Computers.MarkAllOffline();
    // The last row's description went with the row that was deleted, not with the last number.
    EXPECT_EQ(rows(), (std::vector<std::string> { "typed:8080: ", "http://renamed:8080: offline" }));
}

} // namespace
