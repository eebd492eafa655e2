#include "platform/win32/WebBrowserSite.h"

#include "TestWindow.h"

#include <gtest/gtest.h>
#include <mshtmhst.h>
#include <ocidl.h>
#include <utility>
#include <vector>

namespace {

// The engine's command group for its requests to the host (missing from mingw-w64's libuuid).
constexpr GUID DocHostCommandGroup = { 0xf38bc242, 0xb950, 0x11d1, { 0x89, 0x18, 0x00, 0xc0, 0x4f, 0xc2, 0xc8, 0x36 } };

TComPtr<IUnknown> Identity(IUnknown* object)
{
    TComPtr<IUnknown> identity;
    object->QueryInterface(IID_IUnknown, identity.PutVoid());
    return identity;
}

class WebBrowserSiteTest : public ::testing::Test
{
protected:
    TTestWindow Window;
    TComPtr<TWebBrowserSite> Site = TWebBrowserSite::Create(Window.Area(), true);
};

TEST_F(WebBrowserSiteTest, AnswersEveryHostInterfaceWithOneIdentity)
{
    TWebBrowserSite& site = *Site.Get();
    const TComPtr<IUnknown> identity = Identity(static_cast<IOleClientSite*>(&site));
    // Each interface with its own table of methods: a pointer to another base would have
    // the caller run the wrong methods.
    const struct
    {
        const IID& Iid;
        void* Part;
    } parts[] = {
        { IID_IUnknown, identity.Get() },
        { IID_IOleClientSite, static_cast<IOleClientSite*>(&site) },
        { IID_IOleWindow, static_cast<IOleWindow*>(static_cast<IOleInPlaceSite*>(&site)) },
        { IID_IOleInPlaceSite, static_cast<IOleInPlaceSite*>(&site) },
        { IID_IOleInPlaceUIWindow, static_cast<IOleInPlaceUIWindow*>(&site) },
        { IID_IOleInPlaceFrame, static_cast<IOleInPlaceFrame*>(&site) },
        { IID_IDocHostUIHandler, static_cast<IDocHostUIHandler*>(&site) },
        { IID_IOleCommandTarget, static_cast<IOleCommandTarget*>(&site) },
    };
    for (const auto& part : parts) {
        TComPtr<IUnknown> answer;
        ASSERT_EQ(Site->QueryInterface(part.Iid, answer.PutVoid()), S_OK);
        EXPECT_EQ(static_cast<void*>(answer.Get()), part.Part);
        EXPECT_EQ(Identity(answer.Get()).Get(), identity.Get());
    }
    for (const IID& iid :
         { IID_IDispatch, IID_IOleInPlaceSiteEx, IID_IOleControlSite, __uuidof(IDocHostShowUI), IID_IStream }) {
        void* object = &object;
        EXPECT_EQ(Site->QueryInterface(iid, &object), E_NOINTERFACE);
        EXPECT_EQ(object, nullptr);
    }
    EXPECT_EQ(Site->QueryInterface(IID_IUnknown, nullptr), E_POINTER);

    // Only the test's own two references are left.
    EXPECT_EQ(identity->AddRef(), 3u);
    identity->Release();
}

TEST_F(WebBrowserSiteTest, AnswersEveryCommandAsCarriedOutAndKeepsScriptsRunning)
{
    OLECMD commands[] = { { OLECMDID_PRINT, 0xAB }, { OLECMDID_FIND, 0 } };
    EXPECT_EQ(Site->QueryStatus(nullptr, 2, commands, nullptr), S_OK);
    EXPECT_EQ(commands[0].cmdf, 0xABu);
    EXPECT_EQ(commands[1].cmdf, 0u);

    for (const GUID* group : { static_cast<const GUID*>(nullptr), &DocHostCommandGroup, &IID_IUnknown }) {
        for (DWORD command :
             { DWORD { OLECMDID_PRINT }, DWORD { OLECMDID_FIND }, DWORD { OLECMDID_SHOWMESSAGE }, DWORD { 12345 } }) {
            VARIANT out {};
            out.vt = VT_I4;
            out.lVal = 123;
            EXPECT_EQ(Site->Exec(group, command, OLECMDEXECOPT_DODEFAULT, nullptr, &out), S_OK);
            EXPECT_EQ(out.vt, VT_I4);
            EXPECT_EQ(out.lVal, 123);
        }
    }

    // The script error: answered as shown, and the page's scripts go on.
    VARIANT out {};
    EXPECT_EQ(Site->Exec(&DocHostCommandGroup, OLECMDID_SHOWSCRIPTERROR, 0, nullptr, &out), S_OK);
    EXPECT_EQ(out.vt, VT_BOOL);
    EXPECT_EQ(out.boolVal, VARIANT_TRUE);
    EXPECT_EQ(Site->Exec(&DocHostCommandGroup, OLECMDID_SHOWSCRIPTERROR, 0, nullptr, nullptr), S_OK);
}

TEST_F(WebBrowserSiteTest, PlacesTheControlInTheAreaWithTheHostFlags)
{
    HWND window = nullptr;
    EXPECT_EQ(static_cast<IOleInPlaceSite*>(Site.Get())->GetWindow(&window), S_OK);
    EXPECT_EQ(window, Window.Area());
    EXPECT_EQ(Site->CanInPlaceActivate(), S_OK);

    IOleInPlaceFrame* frame = nullptr;
    IOleInPlaceUIWindow* document = reinterpret_cast<IOleInPlaceUIWindow*>(&document);
    RECT position {};
    RECT clip {};
    OLEINPLACEFRAMEINFO frameInfo {};
    frameInfo.cb = sizeof frameInfo;
    ASSERT_EQ(Site->GetWindowContext(&frame, &document, &position, &clip, &frameInfo), S_OK);
    const TComPtr<IOleInPlaceFrame> frameOwner = TComPtr<IOleInPlaceFrame>::Adopt(frame);
    EXPECT_EQ(Identity(frame).Get(), Identity(static_cast<IOleClientSite*>(Site.Get())).Get());
    EXPECT_EQ(document, nullptr);
    EXPECT_EQ(position.right - position.left, TTestWindow::AreaWidth);
    EXPECT_EQ(position.bottom - position.top, TTestWindow::AreaHeight);
    EXPECT_TRUE(EqualRect(&position, &clip));
    EXPECT_EQ(frameInfo.hwndFrame, Window.TopLevel());
    EXPECT_EQ(frameInfo.haccel, nullptr);
    // The frame is the top-level window, also through IOleWindow reached from the frame.
    EXPECT_EQ(frame->GetWindow(&window), S_OK);
    EXPECT_EQ(window, Window.TopLevel());
    TComPtr<IOleWindow> frameWindow;
    ASSERT_EQ(frame->QueryInterface(IID_IOleInPlaceUIWindow, frameWindow.PutVoid()), S_OK);
    EXPECT_EQ(frameWindow->GetWindow(&window), S_OK);
    EXPECT_EQ(window, Window.TopLevel());

    DOCHOSTUIINFO info {};
    info.cbSize = sizeof info;
    ASSERT_EQ(Site->GetHostInfo(&info), S_OK);
    EXPECT_EQ(info.dwFlags, static_cast<DWORD>(DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_DPI_AWARE));
    const TComPtr<TWebBrowserSite> unaware = TWebBrowserSite::Create(Window.Area(), false);
    ASSERT_EQ(unaware->GetHostInfo(&info), S_OK);
    EXPECT_EQ(info.dwFlags, static_cast<DWORD>(DOCHOSTUIFLAG_NO3DBORDER));
    // The engine's own context menu while the view has none, the view's once it has.
    POINT at { 30, 40 };
    EXPECT_EQ(Site->ShowContextMenu(CONTEXT_MENU_DEFAULT, &at, nullptr, nullptr), S_FALSE);
    std::vector<std::pair<DWORD, LONG>> menus;
    Site->SetContextMenuHandler([&](DWORD kind, POINT where, IDispatch*) { menus.push_back({ kind, where.y }); });
    EXPECT_EQ(Site->ShowContextMenu(CONTEXT_MENU_ANCHOR, &at, nullptr, nullptr), S_OK);
    EXPECT_EQ(menus, (std::vector<std::pair<DWORD, LONG>> { { CONTEXT_MENU_ANCHOR, 40 } }));

    // Once its owner has gone, the site offers the control no place, and no menu of the view's.
    Site->Detach();
    EXPECT_EQ(Site->ShowContextMenu(CONTEXT_MENU_DEFAULT, &at, nullptr, nullptr), S_FALSE);
    EXPECT_NE(static_cast<IOleInPlaceSite*>(Site.Get())->GetWindow(&window), S_OK);
    EXPECT_NE(static_cast<IOleInPlaceFrame*>(Site.Get())->GetWindow(&window), S_OK);
    EXPECT_NE(Site->CanInPlaceActivate(), S_OK);
    EXPECT_NE(Site->GetWindowContext(&frame, &document, &position, &clip, &frameInfo), S_OK);
    EXPECT_EQ(frame, nullptr);
}

TEST_F(WebBrowserSiteTest, EnableModelessTurnsTheTopLevelWindowsInputOffAndOnInNestedPairs)
{
    IOleInPlaceFrame& frame = *Site.Get();
    const HWND topLevel = Window.TopLevel();
    ASSERT_TRUE(IsWindowEnabled(topLevel));
    EXPECT_EQ(frame.EnableModeless(FALSE), S_OK);
    EXPECT_FALSE(IsWindowEnabled(topLevel));
    EXPECT_EQ(static_cast<IDocHostUIHandler*>(Site.Get())->EnableModeless(FALSE), S_OK);
    frame.EnableModeless(TRUE);
    EXPECT_FALSE(IsWindowEnabled(topLevel)) << "one dialog of the engine's is still open";
    frame.EnableModeless(TRUE);
    EXPECT_TRUE(IsWindowEnabled(topLevel));
    frame.EnableModeless(TRUE);
    EXPECT_TRUE(IsWindowEnabled(topLevel)) << "an unpaired call changes nothing";

    // A window disabled by someone else (a modal form over it) stays disabled.
    EnableWindow(topLevel, FALSE);
    frame.EnableModeless(FALSE);
    frame.EnableModeless(TRUE);
    EXPECT_FALSE(IsWindowEnabled(topLevel));
    EnableWindow(topLevel, TRUE);
}

} // namespace
