#include "ui/AddressOperations.h"

#include "FakeMainWindow.h"
#include "list/Info.h"
#include "ui/Form2.h"

#include <gtest/gtest.h>

namespace {
using Strings = std::vector<std::string>;

class AddressOperationsTest : public ::testing::Test
{
protected:
    TFakeForm& DialogForm() { return static_cast<TFakeForm&>(Dialog.Form()); }

    // Plays the user in the dialog: reads what it shows, types text, then
    // presses the button named, or closes the frame when button is null.
    void AnswerWith(std::string typed, const char* button)
    {
        DialogForm().OnShowModal = [this, typed, button](TFakeForm& form) {
            ShownText = form.Edit("Edit1").Text();
            FocusedOnShow = form.Edit("Edit1").Focused();
            form.Edit("Edit1").SetText(typed);
            if (button)
                form.Button(button).OnClick();
            return TForm::ModalResultCancel;
        };
    }

    Strings Texts()
    {
        Strings texts;
        for (int i = 0; i < Window.Computers.Count(); ++i)
            texts.push_back(Window.Computers.Text(i));
        return texts;
    }

    TFakeMainWindow Window;
    TForm2 Dialog { Window.Platform };
    std::string ShownText;
    bool FocusedOnShow = false;
};

TEST_F(AddressOperationsTest, DialogIsDeclaredAsTheAddressDialog)
{
    const TFormDecl& decl = DialogForm().Decl();
    EXPECT_EQ(decl.Caption, "Add computer");
    EXPECT_EQ(decl.ClientWidth, 319);
    EXPECT_EQ(decl.ClientHeight, 138);
    EXPECT_EQ(DialogForm().Find<TFakeButton>("Button1").Decl.TabOrder, 0);
    EXPECT_EQ(DialogForm().Find<TFakeButton>("Button2").Decl.TabOrder, 1);
    EXPECT_EQ(DialogForm().Find<TFakeEdit>("Edit1").Decl.TabOrder, 2);
    EXPECT_EQ(DialogForm().Find<TFakeLabel>("Label1").Caption(), "Client Address (i.e. John-PC:8080)");
    EXPECT_FALSE(Dialog.Form().Visible());
}

TEST_F(AddressOperationsTest, AddAppendsTheTypedTextAsItIsWithoutStatusAndKeepsTheSelection)
{
    Window.Computers.Append("http://PC1:8080", TInfo(true));
    Window.Computers.SetSelection(0);
    Dialog.Edit1().SetText("left over");
    AnswerWith(" John-PC:8080 ", "Button1");

    AddComputer(Dialog, Window.Computers);

    EXPECT_EQ(ShownText, "");
    EXPECT_TRUE(FocusedOnShow);
    EXPECT_EQ(Texts(), (Strings { "http://PC1:8080", " John-PC:8080 " }));
    EXPECT_EQ(Window.Computers.Status(1), nullptr);
    EXPECT_EQ(Window.Computers.Selection(), 0);
}

TEST_F(AddressOperationsTest, AddTakesEmptyAndDuplicateTexts)
{
    Window.Fill({ "PC1" });
    AnswerWith("", "Button1");
    AddComputer(Dialog, Window.Computers);
    AnswerWith("PC1", "Button1");
    AddComputer(Dialog, Window.Computers);

    EXPECT_EQ(Texts(), (Strings { "PC1", "", "PC1" }));
}

TEST_F(AddressOperationsTest, CancelOrClosingTheFrameChangesNothing)
{
    Window.Fill({ "PC1" });
    Window.Computers.SetSelection(0);
    for (const char* button : { "Button2", static_cast<const char*>(nullptr) }) {
        AnswerWith("typed", button);
        AddComputer(Dialog, Window.Computers);
        EditSelectedComputer(Dialog, Window.Computers);
    }
    EXPECT_EQ(Texts(), Strings { "PC1" });
    EXPECT_EQ(DialogForm().ModalShowings, 4);
}

TEST_F(AddressOperationsTest, EditShowsTheTextAndReplacesItKeepingStatusAndSelection)
{
    Window.Computers.Append("a", std::nullopt);
    Window.Computers.Append("http://PC1:8080", TInfo(true));
    Window.Computers.SetSelection(1);
    AnswerWith("PC1-renamed", "Button1");

    EditSelectedComputer(Dialog, Window.Computers);

    EXPECT_EQ(ShownText, "http://PC1:8080");
    EXPECT_EQ(Texts(), (Strings { "a", "PC1-renamed" }));
    ASSERT_NE(Window.Computers.Status(1), nullptr);
    EXPECT_TRUE(Window.Computers.Status(1)->Online);
    EXPECT_EQ(Window.Computers.Selection(), 1);
}

TEST_F(AddressOperationsTest, EditAndDeleteWithoutSelectionDoNothing)
{
    Window.Fill({ "a", "b" });
    AnswerWith("x", "Button1");

    EditSelectedComputer(Dialog, Window.Computers);
    DeleteSelectedComputer(Window.Computers);

    EXPECT_EQ(DialogForm().ModalShowings, 0);
    EXPECT_EQ(Texts(), (Strings { "a", "b" }));
}

TEST_F(AddressOperationsTest, DeleteRemovesTheSelectedEntryAndLeavesNoSelection)
{
    Window.Computers.Append("a", TInfo(true));
    Window.Computers.Append("b", TInfo(false));
    Window.Computers.Append("c", std::nullopt);
    Window.Computers.SetSelection(1);

    DeleteSelectedComputer(Window.Computers);

    EXPECT_EQ(Texts(), (Strings { "a", "c" }));
    EXPECT_EQ(Window.Computers.Selection(), TComputerList::None);
    EXPECT_TRUE(Window.Computers.Status(0)->Online);
    EXPECT_EQ(Window.Computers.Status(1), nullptr);
}

TEST_F(AddressOperationsTest, OnceTheProgramIsEndingTheDialogClosesAsCancelled)
{
    Window.Fill({ "a" });
    Window.Computers.SetSelection(0);
    AnswerWith("typed", "Button1");
    Window.Platform.App.Terminate();

    AddComputer(Dialog, Window.Computers);
    EditSelectedComputer(Dialog, Window.Computers);

    EXPECT_EQ(Texts(), Strings { "a" });
    EXPECT_EQ(DialogForm().ModalShowings, 0);
}
} // namespace
