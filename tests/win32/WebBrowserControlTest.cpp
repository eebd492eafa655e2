// The real WebBrowser control under Wine or Windows, in a shown window.
#include "platform/win32/WebBrowserControl.h"

#include "platform/win32/BrowserEmulation.h"
#include "platform/win32/OleSession.h"
#include "platform/win32/WebBrowserEvents.h"
#include "platform/win32/WebBrowserSite.h"
#include "TestWindow.h"

#include <gtest/gtest.h>
#include <string>

namespace {

ULONG References(IUnknown* object)
{
    object->AddRef();
    return object->Release();
}

DWORD BrowserEmulationOfThisProgram()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring program(path);
    DWORD mode = 0;
    DWORD size = sizeof mode;
    RegGetValueW(HKEY_CURRENT_USER,
                 L"Software\\Microsoft\\Internet Explorer\\Main\\FeatureControl\\FEATURE_BROWSER_EMULATION",
                 program.substr(program.find_last_of(L'\\') + 1).c_str(), RRF_RT_REG_DWORD, nullptr, &mode, &size);
    return mode;
}

// TWebBrowserControl with a site and an event sink of the test's own, whose references the

class WebBrowserControlTest : public ::testing::Test
{
protected:
    TOleSession Ole;
    TTestWindow Window;
    TComPtr<TWebBrowserSite> Site = TWebBrowserSite::Create(Window.Area(), false);
    TComPtr<TWebBrowserEvents> Events = TWebBrowserEvents::Create({});
};

TEST_F(WebBrowserControlTest, IsMadeInPlaceInTheAreaAndTornDownToItsLastReference)
{
    IWebBrowser2* automation = nullptr;
    {
        TWebBrowserControl control(Window.Area(), *Site.Get(), *Events.Get());
        EXPECT_TRUE(ChildOfClass(Window.Area(), L"Shell Embedding"));
        EXPECT_GT(References(static_cast<IOleClientSite*>(Site.Get())), 1u);
        EXPECT_GT(References(Events.Get()), 1u);
        EXPECT_EQ(control.ReadyState(), READYSTATE_UNINITIALIZED) << "nothing was asked to load";
        automation = &control.Automation();
        automation->AddRef();
    }
    EXPECT_EQ(References(static_cast<IOleClientSite*>(Site.Get())), 1u);
    EXPECT_EQ(References(Events.Get()), 1u);
    EXPECT_EQ(automation->Release(), 0u);
    EXPECT_FALSE(ChildOfClass(Window.Area(), L"Shell Embedding"));
    // Set before the first control was made, for this program's own name.
    EXPECT_EQ(BrowserEmulationOfThisProgram(), CurrentBrowserEmulation);
}

TEST_F(WebBrowserControlTest, FollowsTheAreaWhenItChangesSize)
{
    TWebBrowserControl control(Window.Area(), *Site.Get(), *Events.Get());
    const HWND embedding = ChildOfClass(Window.Area(), L"Shell Embedding");
    ASSERT_TRUE(embedding);
    RECT shown {};
    GetClientRect(embedding, &shown);
    EXPECT_EQ(shown.right, TTestWindow::AreaWidth);
    EXPECT_EQ(shown.bottom, TTestWindow::AreaHeight);

    MoveWindow(Window.Area(), TTestWindow::AreaLeft, TTestWindow::AreaTop, 472, 333, TRUE);
    control.FitToArea();

    GetClientRect(embedding, &shown);
    EXPECT_EQ(shown.right, 472);
    EXPECT_EQ(shown.bottom, 333);
}

TEST_F(WebBrowserControlTest, OnlyKeysAimedAtTheAreaOrInsideItGoToTheControl)
{
    TWebBrowserControl control(Window.Area(), *Site.Get(), *Events.Get());
    const HWND embedding = ChildOfClass(Window.Area(), L"Shell Embedding");
    ASSERT_TRUE(embedding);
    const auto message = [](HWND window, UINT id) {
        MSG made {};
        made.hwnd = window;
        made.message = id;
        made.wParam = VK_TAB;
        return made;
    };
    for (UINT key : { WM_KEYDOWN, WM_KEYUP, WM_CHAR, WM_SYSKEYDOWN }) {
        EXPECT_TRUE(IsKeyForArea(Window.Area(), message(Window.Area(), key))) << key;
        EXPECT_TRUE(IsKeyForArea(Window.Area(), message(embedding, key))) << key;
        EXPECT_FALSE(IsKeyForArea(Window.Area(), message(Window.Sibling(), key))) << key;
        EXPECT_FALSE(IsKeyForArea(Window.Area(), message(Window.TopLevel(), key))) << key;
        MSG forOther = message(Window.Sibling(), key);
        EXPECT_FALSE(control.TranslateKey(forOther)) << key;
    }
    EXPECT_FALSE(IsKeyForArea(Window.Area(), message(Window.Area(), WM_LBUTTONDOWN)));
    EXPECT_FALSE(IsKeyForArea(Window.Area(), message(embedding, WM_PAINT)));
}

} // namespace
