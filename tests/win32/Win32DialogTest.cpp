// What only the Win32 backend shows of a modal dialog: its owner, no task-bar button, the
// owner disabled while it shows, and the edit box's selection. The rest of its behaviour is
// in the widget scenarios (tests/widgets/FormContractTest.cpp).
#include "DialogTest.h"
#include "platform/Application.h"
#include "Win32WidgetDriver.h"
#include "WindowTestSupport.h"

namespace {

class Win32DialogTest : public DialogTest
{
protected:
    HWND MainWindow() { return NativeWindow(*Main); }
    HWND DialogWindow() { return NativeWindow(*Dialog); }
};

TEST_F(Win32DialogTest, DialogIsOwnedByTheMainFormWithoutATaskBarButtonAndDisablesItWhileShown)
{
    Edit().SetText("John-PC:8080");
    DWORD selection = 0;
    const int saved = ShowPlaying([&] {
        EXPECT_EQ(GetWindow(DialogWindow(), GW_OWNER), MainWindow());
        EXPECT_FALSE(GetWindowLongW(DialogWindow(), GWL_EXSTYLE) & WS_EX_APPWINDOW) << "no task-bar button";
        EXPECT_FALSE(IsWindowEnabled(MainWindow()));
        selection = static_cast<DWORD>(SendMessageW(HandleOf(Edit()), EM_GETSEL, 0, 0));
        Driver->Click(Save());
    });
    EXPECT_EQ(saved, TForm::ModalResultSave);
    EXPECT_FALSE(LeftOpen);
    EXPECT_EQ(selection, MAKELONG(0, 12)) << "the edit box selects its whole text as it gets the focus";
    EXPECT_TRUE(IsWindowEnabled(MainWindow()));

    EXPECT_EQ(ShowPlaying([&] { Driver->Platform().Application().Terminate(); }), TForm::ModalResultCancel);
    EXPECT_FALSE(LeftOpen);
    EXPECT_TRUE(IsWindowEnabled(MainWindow()));
}

} // namespace
