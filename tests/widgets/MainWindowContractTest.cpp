// The main window and the address dialog as the program makes them, on the backend this
// program was built with. What only one backend shows of them is in that backend's suite
// (tests/qt/Form1WidgetTest.cpp, tests/win32/Win32Form1Test.cpp).
#include "app/Unit1.h"
#include "list/ComputerList.h"
#include "list/TextCodec.h"
#include "platform/Application.h"
#include "platform/Canvas.h"
#include "platform/FileSystem.h"
#include "platform/OstrelError.h"
#include "ui/Form2.h"
#include "WidgetDriver.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

class MainWindowContractTest : public ::testing::Test
{
protected:
    MainWindowContractTest()
    {
        // Another test program on the same system may have left a list behind.
        std::filesystem::remove(std::filesystem::u8path(ListFile()));
        Main = std::make_unique<TForm1>(Platform());
        Dialog = std::make_unique<TForm2>(Platform());
        Form2 = Dialog.get();
        // The first show's discovery request has nobody to answer it here.
        Form().OnShow = nullptr;
    }
    ~MainWindowContractTest() override
    {
        Form2 = nullptr;
        Main->CloseDiscovery();
    }

    TPlatform& Platform() { return Driver->Platform(); }
    TForm& Form() { return Main->Form(); }
    std::string ListFile()
    {
        auto& files = Platform().FileSystem();
        return files.CommonDataFolder() + files.PathSeparator() + "Mervane" + files.PathSeparator() + "list.dat";
    }
    // The list file as the program writes text in the system's own encoding.
    std::string Encoded(std::string_view text)
    {
        return EncodeText(std::string(text), TTextEncoding::Ansi, Platform().FileSystem().AnsiCodePage());
    }
    TControl& Control(std::string_view name)
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

    std::unique_ptr<TWidgetDriver> Driver = CreateWidgetDriver();
    std::unique_ptr<TForm1> Main;
    std::unique_ptr<TForm2> Dialog;
};

TEST_F(MainWindowContractTest, StartsMaximisedWithItsTitleTheProgressBarHiddenAndTheFirstTabStopFocused)
{
    Form().Show();

    EXPECT_TRUE(Driver->Maximised(Form()));
    EXPECT_EQ(Form().Caption(), "Ostrel 4.1.1");
    EXPECT_FALSE(Form().ProgressBar("ProgressBar1").Visible());
    EXPECT_TRUE(Driver->WaitFor([&] { return Form().Button("Button1").Focused(); })) << "the first in the tab order";
}

TEST_F(MainWindowContractTest, PicturesComeFromTheProgramsOwnResources)
{
    EXPECT_EQ(Main->Image1().Width(), 32);
    EXPECT_EQ(Main->Image1().Height(), 32);
    EXPECT_EQ(Main->Image2().Width(), 16);
    EXPECT_EQ(Main->Image2().Height(), 16);
    EXPECT_THROW(Platform().LoadPicture("missing.png"), EOstrelError);
}

TEST_F(MainWindowContractTest, AnchorsKeepTheLeftColumnAndStretchTheWebView)
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
    Form().Show();
    // Grown no wider than Wine's display lets a window be.
    for (const auto& [growX, growY] : { std::pair { 0, 0 }, std::pair { 128, 149 }, std::pair { -72, -51 } }) {
        SCOPED_TRACE("growth " + std::to_string(growX) + "," + std::to_string(growY));
        Driver->ShowNormalAt(Form(), 1072 + growX, 551 + growY);
        ASSERT_EQ(Form().ClientWidth(), 1072 + growX);
        ASSERT_EQ(Form().ClientHeight(), 551 + growY);
        for (const auto& place : cases) {
            SCOPED_TRACE(place.Name);
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

// How Tab leaves the web view is the web engine's own (each backend's suite).
TEST_F(MainWindowContractTest, TabLeadsIntoTheListAndTheWebViewAndShiftTabWrapsToTheLastTabStop)
{
    Form().Show();
    Form().Button("Button1").SetFocus();
    ASSERT_TRUE(Driver->WaitFor([&] { return Form().Button("Button1").Focused(); }));
    Driver->Type({ Key(TKey::TName::Tab) });
    EXPECT_TRUE(Form().ListBox("ListBox1").Focused());
    Driver->Type({ Key(TKey::TName::Tab) });
    EXPECT_TRUE(Driver->WaitFor([&] { return Form().WebBrowser("WebBrowser1").Focused(); }));

    Form().Button("Button1").SetFocus();
    ASSERT_TRUE(Driver->WaitFor([&] { return Form().Button("Button1").Focused(); }));
    Driver->Type({ Key(TKey::TName::Tab, true) });
    EXPECT_TRUE(Form().Button("Button2").Focused());
}

TEST_F(MainWindowContractTest, EnterOrSpaceOnTheFocusedAddButtonOpensTheDialogOverTheMainWindow)
{
    Form().Show();
    int added = 0;
    for (const auto key : { TKey::TName::Enter, TKey::TName::Space }) {
        SCOPED_TRACE(key == TKey::TName::Enter ? "Enter" : "Space");
        Driver->RunSoon([&, key] {
            ASSERT_TRUE(Driver->WaitFor([&] { return Dialog->Form().Visible() && Dialog->Edit1().Focused(); }));
            EXPECT_TRUE(Driver->OwnedBy(Dialog->Form(), Form()));
            Driver->Type({ Key('P'), Key('C'), Key(TKey::TName::Tab) });
            Driver->Type({ Key(key) });
        });
        Form().Button("Button1").SetFocus();
        ASSERT_TRUE(Driver->WaitFor([&] { return Form().Button("Button1").Focused(); }));
        Driver->Type({ Key(key) });
        ASSERT_TRUE(Driver->WaitFor([&] { return Main->Computers().Count() == added + 1; }));
        ++added;
    }
    ASSERT_EQ(Main->Computers().Count(), 2);
    EXPECT_EQ(Main->Computers().Text(0), "pc");
    EXPECT_EQ(Main->Computers().Text(1), "pc");
}

TEST_F(MainWindowContractTest, EachTypedEnterInjectsOneControlMSequenceAndStillReachesTheFocusedControl)
{
    const std::vector<TKeyStroke> onePress = {
        { "Enter", true, "\r", false }, { "Enter", false, "", false }, { "Ctrl", true, "", true },
        { "M", true, "\r", true },      { "M", false, "", true },      { "Ctrl", false, "", true },
    };
    Form().Show();
    for (const char* target : { "ListBox1", "WebBrowser1" }) {
        SCOPED_TRACE(target);
        Control(target).SetFocus();
        ASSERT_TRUE(Driver->WaitFor([&] { return Control(target).Focused(); }));
        Driver->RecordKeys();
        auto expected = onePress;
        for (int presses = 1; presses <= 2; ++presses) {
            Driver->Type({ Key(TKey::TName::Enter) });
            EXPECT_EQ(Driver->RecordedKeys(), expected) << "after " << presses << " presses";
            expected.insert(expected.end(), onePress.begin(), onePress.end());
        }
        Driver->Type({ Key('A') });
        const auto keys = Driver->RecordedKeys();
        ASSERT_EQ(keys.size(), onePress.size() * 2 + 2) << "other keys inject nothing";
        EXPECT_EQ(keys[keys.size() - 2], (TKeyStroke { "A", true, "a", false }));
        EXPECT_EQ(keys.back(), (TKeyStroke { "A", false, "", false }));
    }
}

TEST_F(MainWindowContractTest, HelpLinkIsBoldBlueUnderlinedOnHoverAndOpensTheMakersPage)
{
    Form().Show();
    auto& link = Form().Label("Label2");
    EXPECT_EQ(Driver->Look(link), (TLabelLook { 0x3366CC, true, false, true }));

    Driver->Hover(link);
    EXPECT_EQ(Driver->Look(link), (TLabelLook { 0x3366CC, true, true, true }));
    Driver->Leave(link);
    EXPECT_EQ(Driver->Look(link), (TLabelLook { 0x3366CC, true, false, true }));

    const std::string opened = Driver->AddressOpenedBy([&] {
        Driver->Press(link, TMouseButton::Left, { 5, 5 });
        Driver->Release(link, TMouseButton::Left, { 5, 5 });
    });
    EXPECT_EQ(opened, "https://www.mervane.example/remote-management.html");
}

TEST_F(MainWindowContractTest, ClosingTheWindowSavesTheListEndsTheLoopAndHidesTheWindow)
{
    Driver->RunSoon([this] { Driver->CloseByFrame(Form()); });
    Platform().Application().Run(Form());

    EXPECT_TRUE(Platform().Application().Terminated());
    EXPECT_FALSE(Form().Visible());
    const auto saved = Platform().FileSystem().ReadFile(ListFile(), 1 << 16);
    EXPECT_EQ(saved.Error, 0);
    EXPECT_EQ(saved.Bytes, Encoded("[General]\r\nComputers=0\r\n\r\n"));
}

} // namespace
