// The Win32 backend's message boxes, hand-offs, floating-point control and resources.
#include "DialogTest.h"
#include "HtmlEngine.h"
#include "LoopbackHttpServer.h"
#include "platform/common/ErrorReport.h"
#include "platform/common/SyncGate.h"
#include "platform/OstrelError.h"
#include "platform/win32/Win32BasicControls.h"
#include "platform/windows/WideText.h"
#include "Win32WidgetDriver.h"
#include "WindowTestSupport.h"

#include <atomic>
#include <float.h>
#include <thread>

namespace {

class Win32FormTest : public WindowTest
{
protected:
    Win32FormTest() { Main->Show(); }

    HWND MainWindow() { return NativeWindow(*Main); }

    std::unique_ptr<TForm> Main = Platform().CreateForm(MainDecl());
};

TEST_F(Win32FormTest, OnlyTheMainWindowSavesForTheEndOfTheSessionAndOnlyItsRealEndEndsTheProgram)
{
    const auto dialog = Platform().CreateForm(DialogDecl());
    bool dialogAsked = false;
    dialog->OnCloseQuery = [&](bool&) { dialogAsked = true; };
    SendMessageW(NativeWindow(*dialog), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
    SendMessageW(NativeWindow(*dialog), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_FALSE(dialogAsked);
    EXPECT_FALSE(Application().Terminated());

    std::vector<bool> queries; // SavingOnly at each close query
    Main->OnCloseQuery = [&](bool& canClose) {
        queries.push_back(Main->SavingOnly());
        canClose = true;
    };
    EXPECT_TRUE(SendMessageW(MainWindow(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
    EXPECT_EQ(queries, std::vector<bool> { true });
    EXPECT_FALSE(Application().Terminated()) << "another program may still cancel the end";
    EXPECT_TRUE(IsWindowVisible(MainWindow()));
    SendMessageW(MainWindow(), WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);
    EXPECT_FALSE(Application().Terminated()) << "the session goes on";
    SendMessageW(MainWindow(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_TRUE(Application().Terminated());
}

TEST_F(Win32FormTest, AHeldEnterPressesTheFocusedButtonOnce)
{
    int clicks = 0;
    Main->Button("Button1").OnClick = [&] { ++clicks; };
    const HWND button = HandleOf(Main->Button("Button1"));
    SetFocus(button);
    constexpr LPARAM firstDown = 1;
    constexpr LPARAM repeat = 1 | (LPARAM(1) << 30);
    for (int presses = 1; presses <= 2; ++presses) {
        PostMessageW(button, WM_KEYDOWN, VK_RETURN, firstDown);
        for (int repeats = 0; repeats < 3; ++repeats)
            PostMessageW(button, WM_KEYDOWN, VK_RETURN, repeat);
        PostMessageW(button, WM_KEYUP, VK_RETURN, 1 | (LPARAM(3) << 30));
        TypeAndWait({});
        EXPECT_EQ(clicks, presses);
    }
}

TFormDecl PageDecl()
{
    TFormDecl decl = MainDecl();
    decl.Controls = {
        ControlDecl(TControlKind::Button, "Button1", "Before", { 8, 8, 100, 25 }, 0),
        ControlDecl(TControlKind::WebBrowser, "WebBrowser1", "", { 8, 40, 300, 200 }, 1),
        ControlDecl(TControlKind::Button, "Button2", "After", { 8, 250, 100, 25 }, 2),
    };
    return decl;
}

// Another program's window, which Alt+Tab brings to the front: it takes the activation and
// the keyboard from the form while it is there.
class TOtherProgram
{
public:
    TOtherProgram()
        : m_window(CreateWindowExW(0, L"EDIT", L"Another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300, 200,
                                   nullptr, nullptr, GetModuleHandleW(nullptr), nullptr))
    { }
    TOtherProgram(const TOtherProgram&) = delete;
    TOtherProgram& operator=(const TOtherProgram&) = delete;
    ~TOtherProgram() { DestroyWindow(m_window); }

    HWND Window() const { return m_window; }

private:
    HWND m_window;
};

class Win32PageFormTest : public WindowTest
{
protected:
    Win32PageFormTest() { Page->Show(); }

    // A switch to another program and back, as Alt+Tab makes it: a real change of the active
    // window each way, the other program still open when the form comes back.
    void SwitchToAnotherProgramAndBack()
    {
        const TOtherProgram other;
        SetForegroundWindow(other.Window());
        ASSERT_TRUE(WaitFor([&] { return GetActiveWindow() == other.Window(); }));
        ASSERT_EQ(GetFocus(), other.Window()) << "the keyboard left the form";
        SetForegroundWindow(NativeWindow(*Page));
        ASSERT_TRUE(WaitFor([&] { return GetActiveWindow() == NativeWindow(*Page); }));
    }

    std::unique_ptr<TForm> Page = Platform().CreateForm(PageDecl());
    const HWND Area = HandleOfArea();

private:
    HWND HandleOfArea()
    {
        // The area is the form's child at the web view's place.
        const TBounds bounds = Page->WebBrowser("WebBrowser1").Bounds();
        POINT inside = { bounds.Left + 1, bounds.Top + 1 };
        return ChildWindowFromPointEx(NativeWindow(*Page), inside, CWP_SKIPINVISIBLE);
    }
};

TEST_F(Win32PageFormTest, TabPutsTheFocusInsideThePageAndTabOrShiftTabLeavesIt)
{
    ASSERT_TRUE(Page->Button("Button1").Focused());
    TypeAndWait({ VK_TAB });
    EXPECT_TRUE(Page->WebBrowser("WebBrowser1").Focused());
    EXPECT_NE(GetFocus(), Area) << "the control itself holds the focus, UI-activated";
    EXPECT_TRUE(IsChild(Area, GetFocus()));
    TypeAndWait({ VK_TAB });
    EXPECT_TRUE(Page->Button("Button2").Focused()) << "Tab is never trapped in the page";

    Type({ VK_TAB }, { VK_TAB });
    TypeAndWait({});
    EXPECT_TRUE(IsChild(Area, GetFocus()));
    Type({ VK_TAB }, { VK_TAB });
    TypeAndWait({});
    EXPECT_TRUE(Page->Button("Button1").Focused());
}

TEST_F(Win32PageFormTest, ASwitchToAnotherProgramAndBackLeavesTheFocusWhereItWas)
{
    TypeAndWait({ VK_TAB });
    const HWND insidePage = GetFocus();
    ASSERT_TRUE(IsChild(Area, insidePage));
    SwitchToAnotherProgramAndBack();
    EXPECT_EQ(GetFocus(), insidePage) << "the control's own window, not the area or the form";

    // Not the first tab stop either, which the form falls back to when it knows no focus.
    Page->Button("Button2").SetFocus();
    SwitchToAnotherProgramAndBack();
    EXPECT_TRUE(Page->Button("Button2").Focused());
}

// The caret in a page's field is the control's to keep: the form tells it of the switch and
// gives its window the focus back.
TEST_F(Win32PageFormTest, WithAnHtmlEngineTypingInAPageFieldGoesOnAfterASwitchToAnotherProgram)
{
    if (HtmlEngineMissing())
        GTEST_SKIP() << NoHtmlEngine << " (typing into a page's field needs a page that loads)";
    TLoopbackHttpServer server;
    server.Serve("/field.html",
                 "<html><head><meta http-equiv=\"X-UA-Compatible\" content=\"IE=edge\">"
                 "<title>empty</title></head><body onload=\"document.getElementById('field').focus()\">"
                 "<input id=\"field\" autofocus oninput=\"document.title = this.value\"></body></html>");
    auto& view = dynamic_cast<TWin32WebBrowser&>(Page->WebBrowser("WebBrowser1"));
    view.Navigate(server.Url("/field.html"));
    ASSERT_TRUE(WaitFor([&] { return view.ReadyState() == TWebBrowser::ReadyStateComplete; }));
    // Into the page from the tab stop before it, as a user goes there; the field has the focus.
    Page->Button("Button1").SetFocus();
    TypeAndWait({ VK_TAB });
    TypeAndWait({ 'A' });
    ASSERT_TRUE(WaitFor([&] { return PageTitle(view) == L"a"; })) << "the page's field took no key";

    SwitchToAnotherProgramAndBack();
    TypeAndWait({ 'B' });
    EXPECT_TRUE(WaitFor([&] { return PageTitle(view) == L"ab"; }));
}

TEST_F(Win32FormTest, RunHidesTheMainFormAlsoWhenItEndsTheProgramAsItShows)
{
    Main->OnShow = [this] { Application().Terminate(); };
    Application().Run(*Main);
    EXPECT_FALSE(IsWindowVisible(MainWindow()));
}

TEST_F(Win32FormTest, ErrorBoxIsOwnedByTheActiveFormAndTerminateEndsIt)
{
    HWND owner = nullptr;
    std::string caption;
    std::vector<std::string> texts;
    bool leftOpen = false;
    RunSoon([&] {
        const HWND box = OpenBox();
        ASSERT_TRUE(box);
        owner = GetWindow(box, GW_OWNER);
        caption = WindowText(box);
        texts = StaticTexts(box);
        Application().Terminate();
        RunSoon([&, box] {
            leftOpen = IsWindow(box);
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        });
    });
    Application().ShowErrorBox("Could not bind socket.");

    EXPECT_EQ(owner, MainWindow());
    EXPECT_EQ(caption, "Ostrel");
    EXPECT_EQ(texts, std::vector<std::string> { "Could not bind socket." });
    EXPECT_FALSE(leftOpen);
}

TEST_F(Win32FormTest, AnErrorEscapingAHandlerGetsTheDefaultReport)
{
    Main->Button("Button1").OnClick = [] { throw EOstrelError("Boom"); };
    std::string caption;
    std::vector<std::string> texts;
    RunSoon([&] {
        const HWND box = OpenBox();
        ASSERT_TRUE(box);
        caption = WindowText(box);
        texts = StaticTexts(box);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    SendMessageW(HandleOf(Main->Button("Button1")), BM_CLICK, 0, 0);

    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    EXPECT_EQ(caption, ApplicationTitle(Narrow(program)));
    EXPECT_EQ(texts, std::vector<std::string> { "Boom." });
}

TEST_F(Win32FormTest, HandOffsRunInThePumpAndInsideAMessageBox)
{
    int handled = 0;
    std::atomic<bool> boxOpen = false;
    std::thread worker([&] {
        Application().SyncGate().Call([&] { return ++handled, false; });
        while (!boxOpen)
            Sleep(1);
        Application().SyncGate().Call([&] { return ++handled, false; });
    });
    EXPECT_TRUE(WaitFor([&] { return handled == 1; }));
    // Checked from the box's own loop, which must run the hand-off: nothing else pumps meanwhile.
    int checks = 0;
    std::function<void()> closeOnceHandled = [&] {
        boxOpen = true;
        if (handled == 2 || ++checks == 1000)
            PostMessageW(OpenBox(), WM_COMMAND, IDOK, 0);
        else
            RunSoon(closeOnceHandled);
    };
    RunSoon(closeOnceHandled);
    Application().ShowErrorBox("waiting");
    // Releases a call that nothing took, so the worker ends whatever happened.
    boxOpen = true;
    Application().SyncGate().Close();
    worker.join();
    EXPECT_EQ(handled, 2);
}

int ThreadWindowCount()
{
    int count = 0;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND, LPARAM counter) {
            ++*reinterpret_cast<int*>(counter);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

using Win32FormCreationTest = WindowTest;

TEST_F(Win32FormCreationTest, AFormWhoseControlsCannotAllBeMadeLeavesNoWindowAndTheNextFormIsTheMainOne)
{
    TFormDecl broken = MainDecl();
    broken.Name = "Broken";
    auto list = ControlDecl(TControlKind::ListBox, "ListBox1", "", { 8, 40, 100, 100 }, 1);
    list.PopupMenu = "PopupMenu1";
    broken.Controls.push_back(list);
    const int windowsBefore = ThreadWindowCount();
    try {
        Platform().CreateForm(broken);
        ADD_FAILURE() << "no error";
    } catch (const EOstrelError& error) {
        EXPECT_STREQ(error.what(), "No control PopupMenu1 in Broken");
    }
    EXPECT_EQ(ThreadWindowCount(), windowsBefore);
    EXPECT_TRUE(Application().Forms().Forms().empty());

    const auto main = Platform().CreateForm(MainDecl());
    const auto dialog = Platform().CreateForm(DialogDecl());
    EXPECT_EQ(GetWindow(NativeWindow(*main), GW_OWNER), nullptr);
    EXPECT_EQ(GetWindow(NativeWindow(*dialog), GW_OWNER), NativeWindow(*main));
    main->Close();
    EXPECT_TRUE(Application().Terminated());
}

// The SSE unit's control and status register, where a web engine's own arithmetic is masked.
unsigned SseControl()
{
    unsigned control = 0;
    asm volatile("stmxcsr %0" : "=m"(control));
    return control;
}

TEST_F(Win32FormTest, MaskDivisionByZeroMasksItForTheX87AndSseUnitsAndLeavesTheRestAlone)
{
    constexpr unsigned SseZeroDivideMask = 0x200;
    constexpr unsigned SseInvalidMask = 0x80;
    const unsigned before = _controlfp(0, 0);
    _controlfp(before & ~(_EM_ZERODIVIDE | _EM_INVALID), _MCW_EM);
    ASSERT_FALSE(SseControl() & SseZeroDivideMask);

    Application().MaskDivisionByZero();
    const unsigned after = _controlfp(0, 0);
    const unsigned sse = SseControl();
    _controlfp(before, _MCW_EM);

    EXPECT_TRUE(after & _EM_ZERODIVIDE);
    EXPECT_FALSE(after & _EM_INVALID);
    EXPECT_TRUE(sse & SseZeroDivideMask);
    EXPECT_FALSE(sse & SseInvalidMask);
}

TEST_F(Win32FormTest, PicturesComeFromTheProgramsResources)
{
    const auto computer = Platform().LoadPicture("computer.png");
    EXPECT_EQ(computer->Width(), 32);
    EXPECT_EQ(computer->Height(), 32);
    EXPECT_EQ(Platform().LoadPicture("badge.png")->Width(), 16);
    try {
        Platform().LoadPicture("missing.png");
        ADD_FAILURE() << "no error";
    } catch (const EOstrelError& error) {
        EXPECT_STREQ(error.what(), "Missing picture resource missing.png");
    }
}

} // namespace
