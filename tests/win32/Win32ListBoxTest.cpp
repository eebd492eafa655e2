// The owner-drawn list of the Win32 backend, wired to the list view's rules as the main
// window wires it, with every event recorded.
#include "list/ComputerList.h"
#include "list/Info.h"
#include "platform/win32/ComPtr.h"
#include "platform/win32/Win32Picture.h"
#include "platform/win32/Win32PopupMenu.h"
#include "platform/windows/WideText.h"
#include "ui/ListPointer.h"
#include "ui/RowPainter.h"
#include "WindowTestSupport.h"

#include <oleacc.h>

namespace {

constexpr std::uint32_t IconColour = 0x2E93E2;
constexpr std::uint32_t BadgeColour = 0x00CC33;
constexpr std::uint32_t White = 0xFFFFFF;

TWin32Picture Square(int size, std::uint32_t colour)
{
    return TWin32Picture(size, size,
                         std::vector<std::uint32_t>(static_cast<std::size_t>(size * size), 0xFF000000 | colour));
}

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

class Win32ListBoxTest : public WindowTest
{
protected:
    Win32ListBoxTest()
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
            Events.push_back("popup " + std::to_string(at.X) + "," + std::to_string(at.Y));
            handled = SuppressContextMenu(List, at);
        };
        for (const char* item : { "ComputerOpen", "ComputerEdit", "ComputerDelete" })
            Menu.Item(item).OnClick = [this, item] { Events.push_back(std::string("chose ") + item); };
        Form->Show();
    }

    HWND ListWindow() { return HandleOf(List); }
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
    TSnapshot Render()
    {
        RedrawWindow(ListWindow(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        return Capture(ListWindow());
    }
    // A press of button at a point of the list, as the system reports it; the left button goes
    // up again, the others stay down until Release, whose going up asks for the menu.
    void Press(UINT message, POINT at)
    {
        const auto keys = message == WM_LBUTTONDOWN ? MK_LBUTTON : message == WM_RBUTTONDOWN ? MK_RBUTTON : MK_MBUTTON;
        SendMessageW(ListWindow(), message, keys, MAKELPARAM(at.x, at.y));
        if (message == WM_LBUTTONDOWN)
            SendMessageW(ListWindow(), WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    }
    void ReleaseRight(POINT at) { SendMessageW(ListWindow(), WM_RBUTTONUP, 0, MAKELPARAM(at.x, at.y)); }

    std::unique_ptr<TForm> Form = Platform().CreateForm(ListFormDecl());
    TListBox& List = Form->ListBox("ListBox1");
    TWin32PopupMenu& Menu = static_cast<TWin32PopupMenu&>(Form->PopupMenu("PopupMenu1"));
    TComputerList Computers { List };
    TWin32Picture Icon = Square(32, IconColour);
    TWin32Picture Badge = Square(16, BadgeColour);
    TRowPainter Painter { Icon, Badge };
    std::vector<std::string> Events;
};

TEST_F(Win32ListBoxTest, RowsShowSelectionColoursIconAndBadgeAndTheWindowColourBelow)
{
    Computers.Append("online", TInfo(true));
    Computers.Append("offline", TInfo(false));
    Computers.Append("by hand", std::nullopt);
    Computers.SetSelection(0);
    const TSnapshot image = Render();

    for (const POINT corner : { POINT { 0, 0 }, POINT { 282, 0 }, POINT { 0, 49 }, POINT { 282, 49 } })
        EXPECT_EQ(image.At(corner.x, corner.y), 0x84ACDDu) << corner.x << "," << corner.y;
    EXPECT_EQ(image.At(1, 1), 0xD0E5FFu);
    EXPECT_EQ(image.At(281, 48), 0xD0E5FFu);
    EXPECT_EQ(image.At(0, 50), White);
    EXPECT_EQ(image.At(281, 98), White);

    EXPECT_EQ(image.At(9, 9), BadgeColour);
    EXPECT_EQ(image.At(30, 30), IconColour);
    EXPECT_EQ(image.At(9, 59), IconColour);
    EXPECT_EQ(image.At(9, 109), IconColour);
    EXPECT_EQ(image.At(8, 109), White);

    const COLORREF window = GetSysColor(COLOR_WINDOW);
    const std::uint32_t windowColour = (GetRValue(window) << 16) | (GetGValue(window) << 8) | GetBValue(window);
    EXPECT_EQ(image.At(10, 150), windowColour);
    EXPECT_EQ(image.At(282, 422), windowColour);
}

TEST_F(Win32ListBoxTest, KeyboardFocusDrawsNoOutline)
{
    Append({ "a", "b" });
    Computers.SetSelection(1);
    SetFocus(nullptr);
    const TSnapshot unfocused = Render();

    List.SetFocus();
    ASSERT_TRUE(List.Focused());
    // The list's caret moves the focus outline it asks for to an unselected row.
    SendMessageW(ListWindow(), LB_SETCARETINDEX, 0, FALSE);
    EXPECT_TRUE(Render() == unfocused);
}

// The rightmost column of the rows between top and bottom holding a pixel darker than the fills.
int RightmostInk(const TSnapshot& image, int top, int bottom)
{
    for (int x = image.Width - 1; x >= 0; --x) {
        for (int y = top; y < bottom; ++y) {
            const std::uint32_t pixel = image.At(x, y);
            if (((pixel >> 16 & 0xFF) + (pixel >> 8 & 0xFF) + (pixel & 0xFF)) / 3 < 128)
                return x;
        }
    }
    return -1;
}

// How many rows between top and bottom hold ink in the columns from left to right.
int InkedRows(const TSnapshot& image, int left, int right, int top, int bottom)
{
    int rows = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            const std::uint32_t pixel = image.At(x, y);
            if (((pixel >> 16 & 0xFF) + (pixel >> 8 & 0xFF) + (pixel & 0xFF)) / 3 < 128) {
                ++rows;
                break;
            }
        }
    }
    return rows;
}

TEST_F(Win32ListBoxTest, LongTextIsCutFivePixelsBeforeTheRightEdgeAndNarrowerWithAScrollBar)
{
    Computers.Append(std::string(200, 'W'), std::nullopt);
    const TSnapshot image = Render();
    int ink = RightmostInk(image, 16, 50);
    EXPECT_LT(ink, 278);
    EXPECT_GT(ink, 260);
    // The text ends in three dots on its baseline, not in a letter cut off.
    EXPECT_LE(InkedRows(image, ink - 8, ink, 16, 50), 2);
    EXPECT_EQ(List.ClientRect().Right, 283);

    Fill(20);
    const int right = List.ClientRect().Right;
    EXPECT_EQ(right, 283 - GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(List.ItemRect(0).Right, right);
    ink = RightmostInk(Render(), 16, 50);
    EXPECT_LT(ink, right - 5);
    EXPECT_GT(ink, right - 25);
}

TEST_F(Win32ListBoxTest, OnlyAPrimaryPressOrTheKeyboardRaisesTheClick)
{
    Append({ "alpha", "bravo", "charlie", "delta" });

    Press(WM_RBUTTONDOWN, { 10, 60 });
    Press(WM_MBUTTONDOWN, { 10, 110 });
    EXPECT_EQ(List.ItemIndex(), 2);
    EXPECT_TRUE(List.Focused());

    Press(WM_LBUTTONDOWN, { 10, 10 });
    EXPECT_EQ(List.ItemIndex(), 0);

    TypeAndWait({ VK_DOWN, 'D' });
    EXPECT_EQ(List.ItemIndex(), 3);

    List.SetItemIndex(1);
    EXPECT_EQ(Events, (std::vector<std::string> { "down", "down", "click 0", "down", "click 1", "click 3" }));
}

TEST_F(Win32ListBoxTest, PressesBelowTheLastRowKeepTheSelection)
{
    Append({ "a", "b" });
    Computers.SetSelection(1);
    for (const UINT press : { WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN })
        Press(press, { 10, 300 });
    EXPECT_EQ(List.ItemIndex(), 1);
    EXPECT_EQ(Events, (std::vector<std::string> { "down", "down", "down" }));
}

TEST_F(Win32ListBoxTest, DeletingTheSelectedRowLeavesNoneSelectedAndAllWhite)
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
constexpr POINT PartlyVisibleRow { 20, 410 };

TEST_F(Win32ListBoxTest, AClickOnThePartlyVisibleRowOpensAndSelectsThatRowThoughTheListScrolls)
{
    Fill(12);
    // Opening pumps events while it waits, as the viewer does: the list may scroll meanwhile,
    // by itself to show the selected row whole, or by the wheel.
    List.OnClick = [this] {
        Events.push_back("open " + std::to_string(List.ItemIndex()));
        SendMessageW(ListWindow(), WM_VSCROLL, SB_LINEDOWN, 0);
        WaitFor([] { return true; });
    };

    Press(WM_LBUTTONDOWN, PartlyVisibleRow);

    EXPECT_EQ(List.TopIndex(), 1);
    EXPECT_EQ(Events, (std::vector<std::string> { "open 8", "down" }));
    EXPECT_EQ(List.ItemIndex(), 8);
}

TEST_F(Win32ListBoxTest, ARightClickOnThePartlyVisibleLastRowSelectsItAndShowsTheMenu)
{
    Fill(9);
    RunSoon([this] {
        if (OpenMenu())
            Events.push_back("menu shown");
        EndMenu();
    });

    Press(WM_RBUTTONDOWN, PartlyVisibleRow);
    ReleaseRight(PartlyVisibleRow);

    EXPECT_EQ(List.ItemIndex(), 8);
    EXPECT_GT(List.TopIndex(), 0);
    ASSERT_EQ(Events.size(), 3u);
    EXPECT_EQ(Events[2], "menu shown");
}

TEST_F(Win32ListBoxTest, TheMenuOverARowOpensAtThePointerWithAccessKeys)
{
    Append({ "a", "b" });
    RECT shownAt = {};
    std::vector<std::string> captions;
    RunSoon([&] {
        GetWindowRect(OpenMenu(), &shownAt);
        for (const UINT command : { 1, 3, 4 }) {
            wchar_t caption[32] = {};
            GetMenuStringW(Menu.Handle(), command, caption, 32, MF_BYCOMMAND);
            captions.push_back(Narrow(caption));
        }
        Type({ 'E' });
        // A menu that took no access key would wait for the user.
        RunSoon([this] {
            if (OpenMenu()) {
                Events.push_back("menu left open");
                EndMenu();
            }
        });
    });

    Press(WM_RBUTTONDOWN, { 20, 70 });
    ReleaseRight({ 20, 70 });

    POINT pointer = { 20, 70 };
    ClientToScreen(ListWindow(), &pointer);
    EXPECT_EQ(shownAt.left, pointer.x);
    EXPECT_EQ(shownAt.top, pointer.y);
    EXPECT_EQ(captions, (std::vector<std::string> { "&Open", "&Edit", "&Delete" }));
    EXPECT_EQ(Events, (std::vector<std::string> { "down", "popup 20,70", "chose ComputerEdit" }));
    EXPECT_EQ(List.ItemIndex(), 1);
}

TEST_F(Win32ListBoxTest, KeyboardRequestsAndTheAreaBelowTheRowsShowNoMenu)
{
    Append({ "a", "b" });
    Computers.SetSelection(0);
    List.SetFocus();
    // Looks for a menu throughout, so that one shown fails the test instead of waiting for the user.
    std::function<void()> closeMenus = [&] {
        if (OpenMenu()) {
            Events.push_back("menu shown");
            EndMenu();
        }
        RunSoon(closeMenus);
    };
    RunSoon(closeMenus);

    // The context-menu key; Shift+F10 would leave Wine's window in menu mode as F10 goes up.
    TypeAndWait({ VK_APPS });
    SendMessageW(ListWindow(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(ListWindow()), MAKELPARAM(-1, -1));
    POINT below = { 10, 200 };
    ClientToScreen(ListWindow(), &below);
    SendMessageW(ListWindow(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(ListWindow()), MAKELPARAM(below.x, below.y));

    EXPECT_EQ(Events, (std::vector<std::string> { "popup -1,-1", "popup -1,-1", "popup 10,200" }));
}

// What a screen reader reads of a row: its text, then its description, through the list's
// accessible object, whose children are the rows numbered from 1.
std::wstring AccessibleText(IAccessible& list, int row,
                            HRESULT (STDMETHODCALLTYPE IAccessible::*property)(VARIANT, BSTR*))
{
    VARIANT child;
    VariantInit(&child);
    child.vt = VT_I4;
    child.lVal = row + 1;
    BSTR text = nullptr;
    if ((list.*property)(child, &text) != S_OK || !text)
        return L"(none)";
    std::wstring result(text, SysStringLen(text));
    SysFreeString(text);
    return result;
}

TEST_F(Win32ListBoxTest, ScreenReadersReadEachRowsStatusAfterItsTextAndFollowTheRows)
{
    Computers.Append("http://PC1:8080", TInfo(false));
    Computers.Append("http://PC2:8080", TInfo(true));
    Computers.Append("http://PC3:8080", std::nullopt);
    TComPtr<IAccessible> list;
    ASSERT_EQ(AccessibleObjectFromWindow(ListWindow(), static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                         list.PutVoid()),
              S_OK);
    if (AccessibleText(*list.Get(), 0, &IAccessible::get_accDescription) != L"offline")
        GTEST_SKIP() << "this system's accessible list boxes do not show annotations (Wine's do not)";

    auto descriptions = [&] {
        std::vector<std::wstring> texts;
        for (int row = 0; row < Computers.Count(); ++row)
            texts.push_back(AccessibleText(*list.Get(), row, &IAccessible::get_accName) + L": "
                            + AccessibleText(*list.Get(), row, &IAccessible::get_accDescription));
        return texts;
    };
    EXPECT_EQ(descriptions(),
              (std::vector<std::wstring> { L"http://PC1:8080: offline", L"http://PC2:8080: online",
                                           L"http://PC3:8080: (none)" }));
    Computers.MarkOnline(0);
    Computers.Delete(1);
    // The last row's description went with the row that was deleted, not with the last number.
    EXPECT_EQ(descriptions(), (std::vector<std::wstring> { L"http://PC1:8080: online", L"http://PC3:8080: (none)" }));
}

} // namespace
