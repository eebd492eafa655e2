// TWebBrowser on the real WebBrowser control, as the program's windows use it, with a loopback
// web server.
#include "platform/win32/Win32WebBrowser.h"

#include "HtmlEngine.h"
#include "LoopbackHttpServer.h"
#include "platform/win32/Dpi.h"
#include "tests/support/UnderWine.h"
#include "TestWindow.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::string Status(int statusCode)
{
    char text[16];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(statusCode));
    return text;
}

BOOL CALLBACK FindDialog(HWND window, LPARAM found)
{
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (IsWindowVisible(window) && std::wstring_view(className) == L"#32770")
        *reinterpret_cast<bool*>(found) = true;
    return TRUE;
}

// Whether a dialog box (an error message of the engine's, say) is open on this thread.
bool ThreadShowsDialog()
{
    bool shown = false;
    EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&shown));
    return shown;
}

// The view as the program's windows use it, its events recorded in order.
class Win32WebBrowserTest : public ::testing::Test
{
protected:
    Win32WebBrowserTest()
    {
        Browser.OnDownloadComplete = [this] { Events.push_back("complete"); };
        Browser.OnNavigateError = [this](const std::string& url, const std::string&, int statusCode, bool& cancel) {
            Events.push_back("error " + url);
            Statuses.push_back(statusCode);
            cancel = true;
        };
    }

    bool WaitForEvent(const std::string& event)
    {
        return PumpUntil([&] { return std::find(Events.begin(), Events.end(), event) != Events.end(); });
    }

    TTestWindow Window;
    TLoopbackHttpServer Server;
    TClosedPort Closed;
    int Dispatched = 0;
    TWin32WebBrowser Browser { "WebBrowser1", Window.Area(), [this](const std::function<void()>& handler) {
                                  ++Dispatched;
                                  handler();
                              } };
    std::vector<std::string> Events;
    std::vector<int> Statuses;
};

TEST_F(Win32WebBrowserTest, NavigationsReachTheServerAndAFailureNamesItsAddress)
{
    Server.Serve("/agent.html", "<html><head><title>Agent page</title></head><body>Agent page</body></html>");
    EXPECT_EQ(Browser.LocationUrl(), "");

    Browser.Navigate(Server.Url("/agent.html"));
    EXPECT_TRUE(PumpUntil([&] { return Server.Requested("/agent.html"); }));
    // Under way once the server was asked; complete where an HTML engine can load the page.
    EXPECT_GE(Browser.ReadyState(), READYSTATE_LOADING);
    if (!HtmlEngineMissing()) {
        EXPECT_TRUE(PumpUntil([&] { return Browser.ReadyState() == TWebBrowser::ReadyStateComplete; }));
    }

    Browser.Navigate(Closed.Url());
    ASSERT_TRUE(WaitForEvent("error " + Closed.Url()));
    EXPECT_LT(Statuses.back(), 0) << Status(Statuses.back());
    EXPECT_FALSE(Browser.LocationUrl().empty());
    // Every handler ran through the window code's dispatch.
    EXPECT_EQ(Dispatched, static_cast<int>(Events.size()));
}

// Texts typed by hand may make addresses the engine cannot even parse.
TEST_F(Win32WebBrowserTest, UnusableAddressesFailLikeAnyOther)
{
    for (const char* address : { "http://bad host:8080", "http://[::1", "http://http://PC1:8080", "http:// " }) {
        const std::size_t before = Statuses.size();
        EXPECT_NO_THROW(Browser.Navigate(address)) << address;
        EXPECT_TRUE(PumpUntil([&] { return Statuses.size() > before; })) << address;
    }
}

TEST_F(Win32WebBrowserTest, IsAControlOfTheWindowAtItsPlace)
{
    EXPECT_EQ(Browser.Name(), "WebBrowser1");
    EXPECT_EQ(Browser.Area(), Window.Area());
    const TBounds bounds = Browser.Bounds();
    // The area was made in the window's own pixels; the bounds are at 96 dpi.
    const double scale = WindowDpi(Window.Area()) / 96.0;
    EXPECT_NEAR(bounds.Left, TTestWindow::AreaLeft / scale, 1);
    EXPECT_NEAR(bounds.Top, TTestWindow::AreaTop / scale, 1);
    EXPECT_NEAR(bounds.Width, TTestWindow::AreaWidth / scale, 1);
    EXPECT_NEAR(bounds.Height, TTestWindow::AreaHeight / scale, 1);

    EXPECT_TRUE(Browser.Visible());
    Browser.SetVisible(false);
    EXPECT_FALSE(Browser.Visible());
    EXPECT_FALSE(IsWindowVisible(ChildOfClass(Window.Area(), L"Shell Embedding")));
    Browser.SetVisible(true);
    EXPECT_TRUE(Browser.Visible());

    EXPECT_TRUE(Browser.Enabled());
    Browser.SetEnabled(false);
    EXPECT_FALSE(Browser.Enabled());
    Browser.SetEnabled(true);

    SetFocus(Window.Sibling());
    EXPECT_FALSE(Browser.Focused());
    Browser.SetFocus();
    EXPECT_TRUE(Browser.Focused());
}

TEST_F(Win32WebBrowserTest, WithAnHtmlEnginePagesCompleteAndFailuresLeaveNoErrorPage)
{
    if (HtmlEngineMissing())
        GTEST_SKIP() << NoHtmlEngine;
    Server.Serve("/agent.html", "<html><head><title>Agent page</title></head><body>Agent page</body></html>");
    // A script error is neither shown nor the end of the page's scripts.
    Server.Serve("/script.html",
                 "<html><head><title>before</title></head><body>"
                 "<script>noSuchFunction();</script><script>document.title = 'went on';</script>"
                 "</body></html>");

    Browser.Navigate("about:blank");
    EXPECT_TRUE(PumpUntil([&] { return Browser.ReadyState() == TWebBrowser::ReadyStateComplete; }));

    Browser.Navigate(Server.Url("/agent.html"));
    EXPECT_TRUE(PumpUntil([&] {
        return Browser.ReadyState() == TWebBrowser::ReadyStateComplete && PageTitle(Browser) == L"Agent page";
    }));
    EXPECT_EQ(Browser.LocationUrl(), Server.Url("/agent.html"));

    Events.clear();
    Browser.Navigate(Closed.Url());
    ASSERT_TRUE(WaitForEvent("error " + Closed.Url()));
    EXPECT_TRUE(WaitForEvent("complete"));
    PumpUntil([] { return false; }, 500);
    EXPECT_NE(Browser.LocationUrl().rfind("res:", 0), 0u) << Browser.LocationUrl();
    EXPECT_EQ(PageTitle(Browser), L"Agent page");

    Browser.Navigate(Server.Url("/script.html"));
    EXPECT_TRUE(PumpUntil([&] { return PageTitle(Browser) == L"went on"; }));
    EXPECT_FALSE(ThreadShowsDialog());
}

// Keys go the way the program's message loop sends them: to the control's accelerators first.
bool PumpKeysUntil(TWin32WebBrowser& browser, const std::function<bool()>& done)
{
    const DWORD start = GetTickCount();
    while (!done()) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (browser.TranslateKey(message))
                continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (GetTickCount() - start >= 20000)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

void PressKeys(std::initializer_list<BYTE> keys)
{
    for (const BYTE key : keys)
        keybd_event(key, 0, key == VK_LEFT || key == VK_RIGHT ? KEYEVENTF_EXTENDEDKEY : 0, 0);
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key)
        keybd_event(*key, 0, KEYEVENTF_KEYUP | (*key == VK_LEFT || *key == VK_RIGHT ? KEYEVENTF_EXTENDEDKEY : 0), 0);
}

TEST_F(Win32WebBrowserTest, WithAnHtmlEngineHistoryKeysAndMouseButtonsBrowseAsInABrowser)
{
    if (HtmlEngineMissing())
        GTEST_SKIP() << NoHtmlEngine << " (going back and forward needs pages that load)";
    Server.Serve("/one.html", "<html><head><title>one</title></head><body>one</body></html>");
    Server.Serve("/two.html", "<html><head><title>two</title></head><body>two</body></html>");
    const auto showing = [&](const wchar_t* title) {
        return [&, title] {
            return Browser.ReadyState() == TWebBrowser::ReadyStateComplete && PageTitle(Browser) == title;
        };
    };
    Browser.Navigate(Server.Url("/one.html"));
    ASSERT_TRUE(PumpUntil(showing(L"one")));
    Browser.Navigate(Server.Url("/two.html"));
    ASSERT_TRUE(PumpUntil(showing(L"two")));
    Browser.SetFocus();

    // The control takes Alt+Left and Alt+Right through its accelerators.
    PressKeys({ VK_MENU, VK_LEFT });
    EXPECT_TRUE(PumpKeysUntil(Browser, showing(L"one")));
    PressKeys({ VK_MENU, VK_RIGHT });
    EXPECT_TRUE(PumpKeysUntil(Browser, showing(L"two")));

    // The mouse's back and forward buttons, as the system reports them where the control leaves them.
    const auto mouse = [&](short command) {
        return SendMessageW(Window.Area(), WM_APPCOMMAND, reinterpret_cast<WPARAM>(Window.Area()),
                            MAKELPARAM(0, FAPPCOMMAND_MOUSE | command));
    };
    EXPECT_EQ(mouse(APPCOMMAND_BROWSER_BACKWARD), TRUE);
    EXPECT_TRUE(PumpUntil(showing(L"one")));
    EXPECT_EQ(mouse(APPCOMMAND_BROWSER_FORWARD), TRUE);
    EXPECT_TRUE(PumpUntil(showing(L"two")));

    // F5 and Ctrl+R reload: the page is asked for again.
    Server.Serve("/two.html", "<html><head><title>two again</title></head><body>two</body></html>");
    PressKeys({ VK_F5 });
    EXPECT_TRUE(PumpKeysUntil(Browser, showing(L"two again")));
    Server.Serve("/two.html", "<html><head><title>two once more</title></head><body>two</body></html>");
    PressKeys({ VK_CONTROL, 'R' });
    EXPECT_TRUE(PumpKeysUntil(Browser, showing(L"two once more")));
}

TEST(PageZoomTest, IsTheWindowsDpiOverTheSystemsInPercent)
{
    struct TCase
    {
        const char* Name;
        unsigned WindowDpi;
        unsigned SystemDpi;
        int Percent;
    };
    for (const TCase& row :
         { TCase { "same as the system", 144, 144, 100 }, TCase { "second monitor at 150 %", 144, 96, 150 },
           TCase { "second monitor at 100 %, system at 150 %", 96, 144, 67 },
           TCase { "second monitor at 200 %", 192, 96, 200 }, TCase { "no system DPI known", 120, 0, 100 } })
        EXPECT_EQ(PageZoomPercent(row.WindowDpi, row.SystemDpi), row.Percent) << row.Name;
}

TEST_F(Win32WebBrowserTest, ThePageIsZoomedByItsWindowsDpiOverTheSystems)
{
    if (HtmlEngineMissing())
        GTEST_SKIP() << NoHtmlEngine << " (the zoom needs a loaded page)";
    Server.Serve("/agent.html", "<html><head><title>Agent page</title></head><body>Agent page</body></html>");
    Browser.Navigate(Server.Url("/agent.html"));
    ASSERT_TRUE(PumpUntil([&] { return Browser.ReadyState() == TWebBrowser::ReadyStateComplete; }));
    PumpUntil([&] { return std::ranges::find(Events, "complete") != Events.end(); });

    VARIANT zoom {};
    const HRESULT read
        = Browser.Control().Automation().ExecWB(OLECMDID_OPTICAL_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, nullptr, &zoom);
    if (UnderWine() && FAILED(read))
        GTEST_SKIP() << "Wine's browser has no page zoom (ExecWB OLECMDID_OPTICAL_ZOOM fails); this check runs on "
                        "Windows";
    ASSERT_EQ(read, S_OK);
    ASSERT_EQ(zoom.vt, VT_I4);
    EXPECT_EQ(zoom.lVal, PageZoomPercent(WindowDpi(Window.Area()), SystemDpi()));
}

} // namespace
