// Forms built from declarations on the Win32 backend, and its application object.
#include "platform/common/ErrorReport.h"
#include "platform/common/SyncGate.h"
#include "platform/OstrelError.h"
#include "platform/win32/Win32BasicControls.h"
#include "platform/win32/Win32FormWindow.h"
#include "platform/windows/WideText.h"
#include "WindowTestSupport.h"

#include <atomic>
#include <float.h>
#include <thread>

namespace {

// The address dialog's controls: an edit box and two buttons, no default among them. They are
// declared in another order than their tab order, which Tab must follow all the same.
TFormDecl DialogDecl()
{
    TFormDecl decl;
    decl.Name = "Dialog";
    decl.Caption = "Dialog";
    decl.ClientWidth = 319;
    decl.ClientHeight = 138;
    decl.Controls = {
        ControlDecl(TControlKind::Button, "Button1", "Save", { 27, 82, 121, 25 }, 0),
        ControlDecl(TControlKind::Edit, "Edit1", "", { 27, 47, 265, 21 }, 2),
        ControlDecl(TControlKind::Button, "Button2", "Cancel", { 179, 82, 113, 25 }, 1),
    };
    return decl;
}

TFormDecl MainDecl()
{
    TFormDecl decl;
    decl.Name = "Main";
    decl.Caption = "Main";
    decl.ClientWidth = 400;
    decl.ClientHeight = 300;
    decl.Controls = { ControlDecl(TControlKind::Button, "Button1", "Go", { 8, 8, 100, 25 }, 0) };
    return decl;
}

class Win32FormTest : public WindowTest
{
protected:
    Win32FormTest()
    {
        Main->Show();
        Dialog->Button("Button1").OnClick = [this] { Dialog->SetModalResult(TForm::ModalResultSave); };
        Dialog->Button("Button2").OnClick = [this] { Dialog->SetModalResult(TForm::ModalResultCancel); };
        Dialog->OnShow = [this] { Edit().SetFocus(); };
    }

    HWND MainWindow() { return Win32WindowOf(*Main); }
    HWND DialogWindow() { return Win32WindowOf(*Dialog); }
    TEdit& Edit() { return Dialog->Edit("Edit1"); }
    TButton& Save() { return Dialog->Button("Button1"); }
    TButton& Cancel() { return Dialog->Button("Button2"); }

    // Plays as the user once the dialog is up with the focus in its edit box, then returns the
    // dialog's result. A play that leaves the dialog open does not hang the test: the dialog is
    // closed by its frame in the end, and LeftOpen tells.
    int ShowPlaying(std::function<void()> play)
    {
        const int showing = ++m_showings;
        LeftOpen = false;
        RunSoon([this, play, showing] {
            ASSERT_TRUE(WaitFor([this] { return IsWindowVisible(DialogWindow()) && Edit().Focused(); }));
            play();
            RunSoon([this, showing] {
                if (showing == m_showings && IsWindowVisible(DialogWindow())) {
                    LeftOpen = true;
                    PostMessageW(DialogWindow(), WM_CLOSE, 0, 0);
                }
            });
        });
        return Dialog->ShowModal();
    }

    bool LeftOpen = false;

    std::unique_ptr<TForm> Main = Platform().CreateForm(MainDecl());
    std::unique_ptr<TForm> Dialog = Platform().CreateForm(DialogDecl());

private:
    int m_showings = 0;
};

TEST_F(Win32FormTest, DialogIsOwnedByTheMainFormAndReturnsTheResultItsButtonsSet)
{
    Edit().SetText("John-PC:8080");
    DWORD selection = 0;
    const int saved = ShowPlaying([&] {
        EXPECT_EQ(GetWindow(DialogWindow(), GW_OWNER), MainWindow());
        EXPECT_FALSE(GetWindowLongW(DialogWindow(), GWL_EXSTYLE) & WS_EX_APPWINDOW) << "no task-bar button";
        EXPECT_FALSE(IsWindowEnabled(MainWindow()));
        EXPECT_EQ(Dialog->ClientWidth(), 319);
        EXPECT_EQ(Dialog->ClientHeight(), 138);
        selection = static_cast<DWORD>(SendMessageW(HandleOf(Edit()), EM_GETSEL, 0, 0));
        SendMessageW(HandleOf(Save()), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(saved, TForm::ModalResultSave);
    EXPECT_FALSE(LeftOpen);
    EXPECT_EQ(selection, MAKELONG(0, 12)) << "the edit box selects its whole text as it gets the focus";
    EXPECT_FALSE(IsWindowVisible(DialogWindow()));
    EXPECT_TRUE(IsWindowEnabled(MainWindow()));

    EXPECT_EQ(ShowPlaying([&] { SendMessageW(HandleOf(Cancel()), BM_CLICK, 0, 0); }), TForm::ModalResultCancel);
    EXPECT_FALSE(LeftOpen);
    EXPECT_EQ(ShowPlaying([&] { PostMessageW(DialogWindow(), WM_SYSCOMMAND, SC_CLOSE, 0); }), TForm::ModalResultCancel);
    EXPECT_FALSE(LeftOpen);
}

TEST_F(Win32FormTest, CloseQueryCanRefuseTheClose)
{
    Dialog->OnCloseQuery = [](bool& canClose) { canClose = false; };
    bool stillShown = false;
    const int result = ShowPlaying([&] {
        SendMessageW(DialogWindow(), WM_CLOSE, 0, 0);
        // Once the modal loop has had its turn.
        RunSoon([&] {
            stillShown = IsWindowVisible(DialogWindow());
            Dialog->SetModalResult(TForm::ModalResultSave);
        });
    });
    EXPECT_TRUE(stillShown);
    EXPECT_EQ(result, TForm::ModalResultSave);
}

TEST_F(Win32FormTest, EnterAndEscapeInTheEditBoxAreInertAndTabLeadsToSaveWhichEnterPresses)
{
    bool stillShown = false;
    const int result = ShowPlaying([&] {
        TypeAndWait({ 'P', 'C', '9', VK_RETURN, VK_ESCAPE });
        stillShown = IsWindowVisible(DialogWindow());
        TypeAndWait({ VK_TAB });
        EXPECT_TRUE(Save().Focused());
        Type({ VK_RETURN });
    });
    EXPECT_TRUE(stillShown);
    EXPECT_EQ(result, TForm::ModalResultSave);
    EXPECT_FALSE(LeftOpen);
    EXPECT_EQ(Edit().Text(), "pc9");
}

TEST_F(Win32FormTest, TabFollowsTheTabOrderBothWaysAndSpacePressesTheFocusedButton)
{
    const int result = ShowPlaying([&] {
        TypeAndWait({ VK_TAB });
        EXPECT_TRUE(Save().Focused());
        TypeAndWait({ VK_TAB });
        EXPECT_TRUE(Cancel().Focused());
        TypeAndWait({ VK_TAB });
        EXPECT_TRUE(Edit().Focused());
        Type({ VK_TAB }, { VK_TAB });
        TypeAndWait({});
        EXPECT_TRUE(Cancel().Focused());
        Type({ VK_SPACE });
    });
    EXPECT_EQ(result, TForm::ModalResultCancel);
    EXPECT_FALSE(LeftOpen);
}

TEST_F(Win32FormTest, TerminateEndsTheModalDialogAndEveryLaterShowing)
{
    EXPECT_EQ(ShowPlaying([&] { Application().Terminate(); }), TForm::ModalResultCancel);
    EXPECT_FALSE(LeftOpen);
    EXPECT_TRUE(IsWindowEnabled(MainWindow()));

    bool shown = false;
    Dialog->OnShow = [&] { shown = true; };
    EXPECT_EQ(Dialog->ShowModal(), TForm::ModalResultCancel);
    EXPECT_FALSE(shown);
}

TEST_F(Win32FormTest, OnlyTheMainWindowAnswersTheEndOfTheSessionWithItsCloseRule)
{
    bool dialogAsked = false;
    Dialog->OnCloseQuery = [&](bool&) { dialogAsked = true; };
    SendMessageW(DialogWindow(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
    SendMessageW(DialogWindow(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_FALSE(dialogAsked);
    EXPECT_FALSE(Application().Terminated());

    bool mainAsked = false;
    Main->OnCloseQuery = [&](bool& canClose) {
        mainAsked = true;
        canClose = false;
    };
    EXPECT_TRUE(SendMessageW(MainWindow(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
    EXPECT_TRUE(mainAsked);
    EXPECT_FALSE(Application().Terminated()) << "the close query refused";
    SendMessageW(MainWindow(), WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);
    EXPECT_FALSE(Application().Terminated()) << "the session goes on";
    SendMessageW(MainWindow(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_TRUE(Application().Terminated());
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
    EXPECT_EQ(GetWindow(Win32WindowOf(*main), GW_OWNER), nullptr);
    EXPECT_EQ(GetWindow(Win32WindowOf(*dialog), GW_OWNER), Win32WindowOf(*main));
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
