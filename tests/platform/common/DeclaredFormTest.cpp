#include "FakePlatform.h"
#include "platform/OstrelError.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

// The form and application rules every backend shares, played on the fake backend.
namespace {

using Names = std::vector<std::string>;

TFormDecl MainDecl()
{
    TFormDecl decl;
    decl.Name = "Form1";
    decl.Caption = "Main";
    decl.ClientWidth = 300;
    decl.ClientHeight = 200;
    // The list names its menu before the menu is declared.
    auto list = ControlDecl(TControlKind::ListBox, "ListBox1", "", { 0, 0, 100, 100 }, 2);
    list.PopupMenu = "PopupMenu1";
    decl.Controls = {
        ControlDecl(TControlKind::Button, "Button1", "Open", { 0, 120, 75, 25 }, 1),
        list,
        ControlDecl(TControlKind::Label, "Label1", "Status", { 0, 150, 0, 13 }, -1),
        ControlDecl(TControlKind::PopupMenu, "PopupMenu1", "", {}, 0),
        ControlDecl(TControlKind::Edit, "Edit1", "", { 0, 170, 100, 21 }, 0),
        ControlDecl(TControlKind::Button, "Button2", "Close", { 80, 120, 75, 25 }, 1),
    };
    return decl;
}

TFormDecl DialogDecl()
{
    TFormDecl decl;
    decl.Name = "Form2";
    decl.Caption = "Dialog";
    decl.Controls = { ControlDecl(TControlKind::Button, "Button1", "OK", { 0, 0, 75, 25 }, 0) };
    return decl;
}

class DeclaredFormTest : public ::testing::Test
{
protected:
    TFakeForm& Make(const TFormDecl& decl)
    {
        m_forms.push_back(Platform.CreateForm(decl));
        return static_cast<TFakeForm&>(*m_forms.back());
    }

    TFakePlatform Platform;
    TFakeApplication& App = Platform.App;

private:
    std::vector<std::unique_ptr<TForm>> m_forms;
};

TEST_F(DeclaredFormTest, CloseRuleEndsModalsHidesDialogsAndEndsTheProgramWithTheMainForm)
{
    auto& main = Make(MainDecl());
    auto& dialog = Make(DialogDecl());
    int dialogShows = 0;
    dialog.OnShow = [&] { ++dialogShows; };

    // The close query refuses: nothing closes.
    bool allowClose = false;
    main.OnCloseQuery = [&](bool& canClose) { canClose = allowClose; };
    main.Show();
    main.FakeWindow().PressCloseBox();
    EXPECT_TRUE(main.Visible());
    EXPECT_FALSE(App.Terminated());

    // A dialog shown modelessly hides.
    dialog.Show();
    dialog.Close();
    EXPECT_FALSE(dialog.Visible());
    EXPECT_FALSE(App.Terminated());

    // Closing a modal showing cancels it; a result the dialog sets itself comes first.
    dialog.OnShowModal = [](TFakeForm& shown) {
        EXPECT_TRUE(shown.Visible());
        shown.FakeWindow().PressCloseBox();
        return TForm::ModalResultSave;
    };
    EXPECT_EQ(dialog.ShowModal(), TForm::ModalResultCancel);
    dialog.OnShowModal = [](TFakeForm& shown) {
        shown.SetModalResult(TForm::ModalResultSave);
        return TForm::ModalResultCancel;
    };
    EXPECT_EQ(dialog.ShowModal(), TForm::ModalResultSave);
    EXPECT_FALSE(dialog.Visible());
    EXPECT_FALSE(App.Terminated());

    // The end of the program cancels the open showing and every later one at once.
    dialog.OnShowModal = [this](TFakeForm&) {
        App.Terminate();
        return TForm::ModalResultSave;
    };
    EXPECT_EQ(dialog.ShowModal(), TForm::ModalResultCancel);
    EXPECT_EQ(dialog.ShowModal(), TForm::ModalResultCancel);
    EXPECT_EQ(dialog.ModalShowings, 3);
    EXPECT_EQ(dialogShows, 4);

    // Once the close query allows it, the main form's close ends the program.
    allowClose = true;
    main.FakeWindow().PressCloseBox();
    EXPECT_TRUE(App.Terminated());
}

TEST_F(DeclaredFormTest, SessionSaveRunsTheCloseQueryAndClosesNothingALaterCloseStillCloses)
{
    auto& main = Make(MainDecl());
    auto& dialog = Make(DialogDecl());
    std::vector<bool> queries; // SavingOnly at each close query
    main.OnCloseQuery = [&](bool& canClose) {
        queries.push_back(main.SavingOnly());
        canClose = true;
    };
    main.Show();

    // Even with a modal showing open and a query that lets the form close, nothing ends.
    dialog.OnShowModal = [&](TFakeForm& shown) {
        main.FakeWindow().AskSessionSave();
        EXPECT_TRUE(shown.Visible()) << "the session may go on: the modal showing stays";
        shown.SetModalResult(TForm::ModalResultSave);
        return TForm::ModalResultCancel;
    };
    EXPECT_EQ(dialog.ShowModal(), TForm::ModalResultSave);
    main.SaveForSession();
    EXPECT_EQ(queries, (std::vector<bool> { true, true }));
    EXPECT_FALSE(main.SavingOnly());
    EXPECT_TRUE(main.Visible());
    EXPECT_FALSE(App.Terminated());

    main.FakeWindow().PressCloseBox();
    EXPECT_EQ(queries, (std::vector<bool> { true, true, false }));
    EXPECT_TRUE(App.Terminated());
}

TEST_F(DeclaredFormTest, RunEndsWhenTheMainFormClosesAndHidesIt)
{
    auto& main = Make(MainDecl());
    auto& dialog = Make(DialogDecl());
    App.OnProcessMessages = [&] {
        if (App.Pumps == 3)
            dialog.Close();
        if (App.Pumps == 5)
            main.Close();
    };

    App.Run(main);

    EXPECT_EQ(App.Pumps, 5);
    EXPECT_FALSE(main.Visible());
}

TEST_F(DeclaredFormTest, LookupFindsControlsOnlyByNameAndKind)
{
    auto& main = Make(MainDecl());

    EXPECT_EQ(main.Button("Button2").Name(), "Button2");
    EXPECT_EQ(main.PopupMenu("PopupMenu1").Name(), "PopupMenu1");
    for (const auto& lookup : std::vector<std::function<void()>> {
             [&] { main.Button("Button3"); },
             [&] { main.Edit("Button1"); },
             [&] { main.PopupMenu("ListBox1"); },
             [&] { main.ListBox("PopupMenu1"); },
         }) {
        try {
            lookup();
            ADD_FAILURE() << "found a control that is not there";
        } catch (const EOstrelError& error) {
            EXPECT_EQ(std::string(error.what()).rfind("No control ", 0), 0u) << error.what();
            EXPECT_TRUE(std::string(error.what()).ends_with(" in Form1")) << error.what();
        }
    }
    EXPECT_THROW(main.WebBrowser("WebBrowser1"), EOstrelError);
}

TEST_F(DeclaredFormTest, MenusComeFirstAndTabStopsFollowTheirDeclaredOrder)
{
    auto& main = Make(MainDecl());

    EXPECT_EQ(main.FakeWindow().Made, (Names { "PopupMenu1", "Button1", "ListBox1", "Label1", "Edit1", "Button2" }));
    EXPECT_EQ(main.Find<TFakeListBox>("ListBox1").Menu, &main.PopupMenu("PopupMenu1"));
    // Equal orders keep the order of declaration; labels and menus are no stops.
    EXPECT_EQ(main.FakeWindow().TabStops, (Names { "Edit1", "Button1", "Button2", "ListBox1" }));
}

TEST_F(DeclaredFormTest, KeyPreviewHandsTypedKeysToTheFormOnlyWhenDeclared)
{
    auto decl = MainDecl();
    auto& quiet = Make(decl);
    decl.Name = "Form3";
    decl.KeyPreview = true;
    auto& previewing = Make(decl);
    Names seen;
    for (auto* form : { &quiet, &previewing }) {
        form->OnKeyPress = [&seen, form](char16_t& key) {
            seen.push_back(form->Name());
            key = key == u'x' ? 0 : u'Y';
        };
    }

    char16_t key = u'y';
    EXPECT_FALSE(quiet.FakeWindow().Type(key));
    EXPECT_EQ(key, u'y');
    EXPECT_FALSE(previewing.FakeWindow().Type(key));
    EXPECT_EQ(key, u'Y') << "a changed key goes on";
    key = u'x';
    EXPECT_TRUE(previewing.FakeWindow().Type(key)) << "a cleared key is swallowed";
    EXPECT_EQ(seen, (Names { "Form3", "Form3" }));
}

} // namespace
