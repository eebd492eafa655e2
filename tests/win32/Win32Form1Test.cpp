// The main window and the address dialog as the program makes them, on the Win32 backend.
#include "app/Unit1.h"
#include "list/ComputerList.h"
#include "platform/Form.h"
#include "platform/win32/ComPtr.h"
#include "platform/win32/Win32ChildWindow.h"
#include "platform/win32/Win32FormWindow.h"
#include "platform/win32/Win32Keyboard.h"
#include "platform/windows/WideText.h"
#include "ui/Form2.h"
#include "Win32WidgetDriver.h"
#include "WindowTestSupport.h"

#include <commctrl.h>
#include <fstream>
#include <oleacc.h>
#include <sstream>

namespace {

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream file(Widen(path).c_str(), std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

LOGFONTW FontOf(HWND window)
{
    LOGFONTW font = {};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font;
}

// Makes command the system's way of opening web addresses for as long as it lives.
class TBrowserCommand
{
public:
    explicit TBrowserCommand(const std::wstring& command)
    {
        wchar_t previous[1024] = {};
        DWORD size = sizeof previous;
        if (RegGetValueW(HKEY_CLASSES_ROOT, Key, nullptr, RRF_RT_REG_SZ, nullptr, previous, &size) == ERROR_SUCCESS)
            m_previous = previous;
        Set(command);
    }
    ~TBrowserCommand() { Set(m_previous); }
    TBrowserCommand(const TBrowserCommand&) = delete;
    TBrowserCommand& operator=(const TBrowserCommand&) = delete;

private:
    static constexpr const wchar_t* Key = L"https\\shell\\open\\command";

    static void Set(const std::wstring& command)
    {
        RegSetKeyValueW(HKEY_CLASSES_ROOT, Key, nullptr, REG_SZ, command.c_str(),
                        static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
    }

    std::wstring m_previous;
};

class Win32Form1Test : public WindowTest
{
protected:
    Win32Form1Test()
    {
        DeleteFileW(Widen(ListFile()).c_str());
        // A box the program shows on its way up (the discovery port taken, say) fails the test
        // instead of waiting for a user: the first loop to run is that box's.
        RunSoon([] {
            if (const HWND box = OpenBox()) {
                ADD_FAILURE() << "a box at start: " << ::testing::PrintToString(StaticTexts(box));
                PostMessageW(box, WM_COMMAND, IDOK, 0);
            }
        });
        Main = std::make_unique<TForm1>(Platform());
        Dialog = std::make_unique<TForm2>(Platform());
        Form2 = Dialog.get();
    }
    ~Win32Form1Test() override
    {
        Form2 = nullptr;
        Main->CloseDiscovery();
    }

    std::string ListFile() { return Platform().FileSystem().CommonDataFolder() + "\\Mervane\\list.dat"; }
    TForm& Form() { return Main->Form(); }
    HWND Window() { return NativeWindow(Form()); }
    TControl& Control(std::string_view name);

    // The first-show discovery request has nobody to answer it here.
    void ShowWithoutRequest()
    {
        Form().OnShow = nullptr;
        Form().Show();
    }

    void ShowNormalAt(int clientWidth, int clientHeight)
    {
        ShowWindow(Window(), SW_RESTORE);
        RECT frame = { 0, 0, clientWidth, clientHeight };
        AdjustWindowRectEx(&frame, GetWindowLongW(Window(), GWL_STYLE), FALSE, GetWindowLongW(Window(), GWL_EXSTYLE));
        SetWindowPos(Window(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                     SWP_NOMOVE | SWP_NOZORDER);
        ASSERT_EQ(Form().ClientWidth(), clientWidth);
        ASSERT_EQ(Form().ClientHeight(), clientHeight);
    }

    std::unique_ptr<TForm1> Main;
    std::unique_ptr<TForm2> Dialog;
};

TControl& Win32Form1Test::Control(std::string_view name)
{
    if (name.starts_with("Button"))
        return Form().Button(name);
    if (name.starts_with("Label"))
        return Form().Label(name);
    if (name == "ListBox1")
        return Form().ListBox(name);
    if (name == "ProgressBar1")
        return Form().ProgressBar(name);
    return Form().WebBrowser(name);
}

TEST_F(Win32Form1Test, StartsMaximisedWithItsTitleAndTheProgressBarHidden)
{
    ShowWithoutRequest();

    EXPECT_TRUE(IsZoomed(Window()));
    EXPECT_EQ(Form().Caption(), "Ostrel 4.1.1");
    EXPECT_FALSE(Form().ProgressBar("ProgressBar1").Visible());
    EXPECT_TRUE(Form().Button("Button1").Focused()) << "the first in the tab order";
}

// What a screen reader reads of window: its accessible object's own name or description.
std::wstring Accessible(HWND window, LONG object, HRESULT (STDMETHODCALLTYPE IAccessible::*property)(VARIANT, BSTR*))
{
    TComPtr<IAccessible> accessible;
    if (AccessibleObjectFromWindow(window, static_cast<DWORD>(object), __uuidof(IAccessible), accessible.PutVoid())
        != S_OK)
        return L"(no object)";
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR text = nullptr;
    if ((accessible.Get()->*property)(self, &text) != S_OK || !text)
        return L"";
    std::wstring result(text, SysStringLen(text));
    SysFreeString(text);
    return result;
}

TEST_F(Win32Form1Test, ScreenReadersReadTheWindowTheListAndTheStatusLineByTheirNames)
{
    ShowWithoutRequest();
    const HWND list = dynamic_cast<TWin32Child&>(Form().ListBox("ListBox1")).Handle();
    auto& statusLine = Form().Label("Label1");
    const HWND status = dynamic_cast<TWin32Child&>(statusLine).Handle();
    if (Accessible(list, OBJID_CLIENT, &IAccessible::get_accName) != L"Computers")
        GTEST_SKIP() << "this system's accessible objects do not show annotations (Wine's do not)";

    EXPECT_EQ(Accessible(Window(), OBJID_WINDOW, &IAccessible::get_accName), L"Ostrel 4.1.1");
    // Named while it is empty; what it says is its description.
    EXPECT_EQ(Accessible(status, OBJID_CLIENT, &IAccessible::get_accName), L"Status");
    EXPECT_EQ(Accessible(status, OBJID_CLIENT, &IAccessible::get_accDescription), L"");
    statusLine.SetCaption("Connecting...");
    EXPECT_EQ(Accessible(status, OBJID_CLIENT, &IAccessible::get_accName), L"Status");
    EXPECT_EQ(Accessible(status, OBJID_CLIENT, &IAccessible::get_accDescription), L"Connecting...");
}

TEST_F(Win32Form1Test, AnchorsKeepTheLeftColumnAndStretchTheWebView)
{
    struct TPlaceCase
    {
        const char* Name;
        TBounds Declared;
        bool GrowsX; // left and right: the width follows the window
        bool MovesX; // right only: the control moves with the right edge
        bool GrowsY;
        bool MovesY;
    };
    const TPlaceCase cases[] = {
        { "Button2", { -1, 1, 287, 49 }, false, false, false, false },
        { "Button1", { -1, 50, 287, 49 }, false, false, false, false },
        { "ListBox1", { 1, 101, 283, 423 }, false, false, true, false },
        { "WebBrowser1", { 288, 1, 782, 524 }, true, false, true, false },
        { "Label2", { 823, 532, 241, 13 }, false, true, false, true },
        { "ProgressBar1", { 1, 530, 283, 17 }, false, false, false, true },
    };
    ShowWithoutRequest();
    for (const auto& [growX, growY] : { std::pair { 0, 0 }, std::pair { 128, 149 }, std::pair { -72, -51 } }) {
        ShowNormalAt(1072 + growX, 551 + growY);
        for (const auto& place : cases) {
            SCOPED_TRACE(std::string(place.Name) + " at growth " + std::to_string(growX) + "," + std::to_string(growY));
            const TBounds& declared = place.Declared;
            const TBounds bounds = Control(place.Name).Bounds();
            EXPECT_EQ(bounds.Left, declared.Left + (place.MovesX ? growX : 0));
            EXPECT_EQ(bounds.Top, declared.Top + (place.MovesY ? growY : 0));
            EXPECT_EQ(bounds.Width, declared.Width + (place.GrowsX ? growX : 0));
            EXPECT_EQ(bounds.Height, declared.Height + (place.GrowsY ? growY : 0));
        }
        const TBounds status = Form().Label("Label1").Bounds();
        EXPECT_EQ(status.Left, 290);
        EXPECT_EQ(status.Top, 529 + growY);
    }
}

TEST_F(Win32Form1Test, TabAndShiftTabFollowTheDeclaredTabOrder)
{
    ShowWithoutRequest();
    ASSERT_TRUE(Form().Button("Button1").Focused());
    std::vector<std::string> order;
    for (int step = 0; step < 4; ++step) {
        TypeAndWait({ VK_TAB });
        for (const char* name : { "Button1", "Button2", "ListBox1", "WebBrowser1" }) {
            if (Control(name).Focused())
                order.push_back(name);
        }
    }
    EXPECT_EQ(order, (std::vector<std::string> { "ListBox1", "WebBrowser1", "Button2", "Button1" }));
    Type({ VK_TAB }, { VK_TAB });
    TypeAndWait({});
    EXPECT_TRUE(Form().Button("Button2").Focused());
}

// The key messages a control gets, in order, with the scan code each carries and whether it
// came from Ostrel's injection.
struct TKeyMessage
{
    UINT Message;
    WPARAM Key;
    unsigned ScanCode;
    bool Injected;
    bool operator==(const TKeyMessage&) const = default;
};

LRESULT CALLBACK RecordKeys(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR keys)
{
    if (message == WM_KEYDOWN || message == WM_KEYUP || message == WM_CHAR) {
        const bool injected
            = message != WM_CHAR && GetMessageExtraInfo() == static_cast<LPARAM>(TWin32Keyboard::InjectedKeyMarker);
        reinterpret_cast<std::vector<TKeyMessage>*>(keys)->push_back(
            { message, wParam, static_cast<unsigned>(lParam >> 16) & 0xFF, injected });
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

TEST_F(Win32Form1Test, EachTypedEnterInjectsOneControlMSequenceAndStillReachesTheFocusedControl)
{
    ShowWithoutRequest();
    const unsigned enter = MapVirtualKeyW(VK_RETURN, MAPVK_VK_TO_VSC);
    const unsigned control = MapVirtualKeyW(VK_LCONTROL, MAPVK_VK_TO_VSC);
    const unsigned m = MapVirtualKeyW('M', MAPVK_VK_TO_VSC);
    const std::vector<TKeyMessage> onePress = {
        { WM_KEYDOWN, VK_RETURN, enter, false },
        { WM_CHAR, '\r', enter, false },
        { WM_KEYUP, VK_RETURN, enter, false },
        { WM_KEYDOWN, VK_CONTROL, control, true },
        { WM_KEYDOWN, 'M', m, true },
        { WM_CHAR, '\r', m, false },
        { WM_KEYUP, 'M', m, true },
        { WM_KEYUP, VK_CONTROL, control, true },
    };
    for (const char* target : { "ListBox1", "WebBrowser1" }) {
        SCOPED_TRACE(target);
        Control(target).SetFocus();
        const HWND focused = GetFocus();
        std::vector<TKeyMessage> keys;
        SetWindowSubclass(focused, RecordKeys, 1, reinterpret_cast<DWORD_PTR>(&keys));
        for (int presses = 1; presses <= 2; ++presses) {
            Type({ VK_RETURN });
            // Waits for the whole sequence; a second one, had there been any, came before the key typed after it.
            ASSERT_TRUE(WaitFor([&] { return keys.size() >= onePress.size() * presses; }));
            TypeAndWait({});
        }
        RemoveWindowSubclass(focused, RecordKeys, 1);
        keys.erase(std::remove_if(keys.begin(), keys.end(), [](const TKeyMessage& key) { return key.Key == VK_F24; }),
                   keys.end());
        auto expected = onePress;
        expected.insert(expected.end(), onePress.begin(), onePress.end());
        EXPECT_EQ(keys, expected);
    }
}

TEST_F(Win32Form1Test, EnterOrSpaceOnTheFocusedAddButtonOpensTheDialogOverTheMainWindow)
{
    ShowWithoutRequest();
    const HWND dialog = NativeWindow(Dialog->Form());
    int added = 0;
    for (const WORD key : std::initializer_list<WORD> { VK_RETURN, VK_SPACE }) {
        RunSoon([&, key] {
            ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(dialog) && Dialog->Edit1().Focused(); }));
            EXPECT_EQ(GetWindow(dialog, GW_OWNER), Window());
            TypeAndWait({ 'P', 'C', VK_TAB });
            Type({ key });
        });
        Form().Button("Button1").SetFocus();
        Type({ key });
        ASSERT_TRUE(WaitFor([&] { return Main->Computers().Count() == added + 1; }));
        ++added;
    }
    ASSERT_EQ(Main->Computers().Count(), 2);
    EXPECT_EQ(Main->Computers().Text(0), "pc");
    EXPECT_EQ(Main->Computers().Text(1), "pc");
}

TEST_F(Win32Form1Test, HelpLinkIsBoldBlueUnderlinedOnHoverAndOpensTheMakersPage)
{
    ShowWithoutRequest();
    const HWND link = HandleOf(Control("Label2"));
    const HDC dc = CreateCompatibleDC(nullptr);
    SendMessageW(Window(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(link));
    EXPECT_EQ(GetTextColor(dc), RGB(0x33, 0x66, 0xCC));
    DeleteDC(dc);
    EXPECT_EQ(FontOf(link).lfWeight, FW_BOLD);
    SendMessageW(link, WM_SETCURSOR, reinterpret_cast<WPARAM>(link), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));

    SendMessageW(link, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(FontOf(link).lfUnderline);
    EXPECT_EQ(FontOf(link).lfWeight, FW_BOLD);
    SendMessageW(link, WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(FontOf(link).lfUnderline);
    EXPECT_EQ(FontOf(link).lfWeight, FW_BOLD);

    // This test program stands in for the user's browser (WindowTestMain.cpp) while the test runs.
    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    const std::wstring opened = std::wstring(folder) + L"ostrel-opened-url.txt";
    DeleteFileW(opened.c_str());
    const TBrowserCommand browser(L"\"" + std::wstring(program) + L"\" --record-url \"%1\" \"" + opened + L"\"");
    SendMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(link, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    const std::string path = Narrow(opened);
    EXPECT_TRUE(WaitFor([&] { return !ReadFileBytes(path).empty(); }));
    EXPECT_EQ(ReadFileBytes(path), "https://www.mervane.example/remote-management.html");
}

TEST_F(Win32Form1Test, TheEndOfTheSessionSavesTheListAndACancelledEndLeavesTheProgramRunning)
{
    ShowWithoutRequest();
    Main->Computers().Append("John-PC:8080", std::nullopt);

    EXPECT_TRUE(SendMessageW(Window(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
    EXPECT_EQ(ReadFileBytes(ListFile()), "[General]\r\nComputers=1\r\n\r\n[0]\r\nName=John-PC:8080\r\n\r\n");
    SendMessageW(Window(), WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);
    EXPECT_FALSE(Application().Terminated());
    EXPECT_TRUE(IsWindowVisible(Window()));

    // The close after the cancelled end saves again and ends the program.
    Main->Computers().Append("Mary-PC:8080", std::nullopt);
    SendMessageW(Window(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(Application().Terminated());
    EXPECT_NE(ReadFileBytes(ListFile()).find("Name=Mary-PC:8080"), std::string::npos);
}

TEST_F(Win32Form1Test, ClosingTheWindowSavesTheListEndsTheLoopAndHidesTheWindow)
{
    RunSoon([this] { PostMessageW(Window(), WM_CLOSE, 0, 0); });
    Application().Run(Form());

    EXPECT_FALSE(IsWindowVisible(Window()));
    EXPECT_EQ(ReadFileBytes(ListFile()), "[General]\r\nComputers=0\r\n\r\n");
}

} // namespace
