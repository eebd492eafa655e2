// What only the Win32 backend shows of the main window; the rest is in tests/widgets.
#include "app/Unit1.h"
#include "list/ComputerList.h"
#include "platform/Form.h"
#include "platform/win32/ComPtr.h"
#include "platform/win32/Win32ChildWindow.h"
#include "platform/win32/Win32FormWindow.h"
#include "platform/windows/WideText.h"
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
    }
    ~Win32Form1Test() override { Main->CloseDiscovery(); }

    std::string ListFile() { return Platform().FileSystem().CommonDataFolder() + "\\Mervane\\list.dat"; }
    TForm& Form() { return Main->Form(); }
    HWND Window() { return NativeWindow(Form()); }
    // The window's tab stops by name.
    std::vector<std::pair<std::string, TControl*>> TabStops()
    {
        return { { "Button1", &Form().Button("Button1") },
                 { "Button2", &Form().Button("Button2") },
                 { "ListBox1", &Form().ListBox("ListBox1") },
                 { "WebBrowser1", &Form().WebBrowser("WebBrowser1") } };
    }

    // The first-show discovery request has nobody to answer it here.
    void ShowWithoutRequest()
    {
        Form().OnShow = nullptr;
        Form().Show();
    }

    std::unique_ptr<TForm1> Main;
};

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

// The WebBrowser control hands Tab on to the window's next tab stop, both ways.
TEST_F(Win32Form1Test, TabAndShiftTabLeaveTheWebViewForTheNextTabStop)
{
    ShowWithoutRequest();
    Form().WebBrowser("WebBrowser1").SetFocus();
    std::vector<std::string> order;
    for (int step = 0; step < 2; ++step) {
        TypeAndWait({ VK_TAB });
        for (const auto& [name, control] : TabStops()) {
            if (control->Focused())
                order.push_back(name);
        }
    }
    EXPECT_EQ(order, (std::vector<std::string> { "Button2", "Button1" }));
    Type({ VK_TAB }, { VK_TAB });
    TypeAndWait({});
    EXPECT_TRUE(Form().Button("Button2").Focused());
}

// The key messages a control gets, in order, with the scan code each carries.
struct TKeyMessage
{
    UINT Message;
    unsigned ScanCode;
    bool operator==(const TKeyMessage&) const = default;
};

LRESULT CALLBACK RecordKeys(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR keys)
{
    if ((message == WM_KEYDOWN || message == WM_KEYUP || message == WM_CHAR) && wParam != VK_F24)
        reinterpret_cast<std::vector<TKeyMessage>*>(keys)->push_back(
            { message, static_cast<unsigned>(lParam >> 16) & 0xFF });
    return DefSubclassProc(window, message, wParam, lParam);
}

// Which keys go down and up is the widget scenarios' (tests/widgets); a program reading scan
// codes, as a remote desktop's web client does, needs the keyboard's own on each message.
TEST_F(Win32Form1Test, TheInjectedControlMCarriesTheKeyboardsScanCodes)
{
    ShowWithoutRequest();
    const unsigned enter = MapVirtualKeyW(VK_RETURN, MAPVK_VK_TO_VSC);
    const unsigned control = MapVirtualKeyW(VK_LCONTROL, MAPVK_VK_TO_VSC);
    const unsigned m = MapVirtualKeyW('M', MAPVK_VK_TO_VSC);
    const std::vector<TKeyMessage> expected = {
        { WM_KEYDOWN, enter }, { WM_CHAR, enter }, { WM_KEYUP, enter }, { WM_KEYDOWN, control },
        { WM_KEYDOWN, m },     { WM_CHAR, m },     { WM_KEYUP, m },     { WM_KEYUP, control },
    };
    TControl& list = Form().ListBox("ListBox1");
    TControl& webView = Form().WebBrowser("WebBrowser1");
    for (TControl* target : { &list, &webView }) {
        SCOPED_TRACE(target->Name());
        target->SetFocus();
        const HWND focused = GetFocus();
        std::vector<TKeyMessage> keys;
        SetWindowSubclass(focused, RecordKeys, 1, reinterpret_cast<DWORD_PTR>(&keys));
        Type({ VK_RETURN });
        EXPECT_TRUE(WaitFor([&] { return keys.size() >= expected.size(); }));
        TypeAndWait({});
        RemoveWindowSubclass(focused, RecordKeys, 1);
        EXPECT_EQ(keys, expected);
    }
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

} // namespace
