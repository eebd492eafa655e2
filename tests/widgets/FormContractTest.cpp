// Forms built from declarations on the backend this program was built with: a dialog shown
// modally over the main form, as the address dialog is.
#include "DialogTest.h"
#include "platform/Application.h"

#include <gtest/gtest.h>

namespace {

// The results, closing, keys and Terminate of a modal dialog; what only one backend shows of
// it is in that backend's suite (tests/win32/Win32DialogTest.cpp).
class FormContractTest : public DialogTest
{
};

TEST_F(FormContractTest, ShowModalReturnsTheResultItsButtonsOrItsFrameSet)
{
    const int saved = ShowPlaying([&] {
        EXPECT_EQ(Dialog->ClientWidth(), 319);
        EXPECT_EQ(Dialog->ClientHeight(), 138);
        Driver->Click(Save());
    });
    EXPECT_EQ(saved, TForm::ModalResultSave);
    EXPECT_FALSE(LeftOpen);
    EXPECT_FALSE(Dialog->Visible());

    EXPECT_EQ(ShowPlaying([&] { Driver->Click(Cancel()); }), TForm::ModalResultCancel);
    EXPECT_FALSE(LeftOpen);
    EXPECT_FALSE(Dialog->Visible());

    bool asked = false;
    Dialog->OnCloseQuery = [&](bool&) { asked = true; };
    EXPECT_EQ(ShowPlaying([&] { Driver->CloseByFrame(*Dialog); }), TForm::ModalResultCancel);
    EXPECT_FALSE(LeftOpen);
    EXPECT_TRUE(asked);
}

TEST_F(FormContractTest, CloseQueryCanRefuseTheClose)
{
    Dialog->OnCloseQuery = [](bool& canClose) { canClose = false; };
    bool stillShown = false;
    const int result = ShowPlaying([&] {
        Driver->CloseByFrame(*Dialog);
        // Once the modal loop has had its turn.
        Driver->RunSoon([&] {
            stillShown = Dialog->Visible();
            Dialog->SetModalResult(TForm::ModalResultSave);
        });
    });
    EXPECT_TRUE(stillShown);
    EXPECT_EQ(result, TForm::ModalResultSave);
}

TEST_F(FormContractTest, EnterAndEscapeInTheEditBoxAreInertAndTabLeadsToSaveWhichEnterPresses)
{
    bool stillShown = false;
    const int result = ShowPlaying([&] {
        Driver->Type({ Key('P'), Key('C'), Key('9'), Key(TKey::TName::Enter), Key(TKey::TName::Escape) });
        stillShown = Dialog->Visible();
        Driver->Type({ Key(TKey::TName::Tab) });
        EXPECT_TRUE(Save().Focused());
        Driver->Type({ Key(TKey::TName::Enter) });
    });
    EXPECT_TRUE(stillShown);
    EXPECT_EQ(result, TForm::ModalResultSave);
    EXPECT_FALSE(LeftOpen);
    EXPECT_EQ(Edit().Text(), "pc9");
}

TEST_F(FormContractTest, TabFollowsTheTabOrderBothWaysAndSpacePressesTheFocusedButton)
{
    const int result = ShowPlaying([&] {
        Driver->Type({ Key(TKey::TName::Tab) });
        EXPECT_TRUE(Save().Focused());
        Driver->Type({ Key(TKey::TName::Tab) });
        EXPECT_TRUE(Cancel().Focused());
        Driver->Type({ Key(TKey::TName::Tab) });
        EXPECT_TRUE(Edit().Focused());
        Driver->Type({ Key(TKey::TName::Tab, true) });
        EXPECT_TRUE(Cancel().Focused());
        Driver->Type({ Key(TKey::TName::Space) });
    });
    EXPECT_EQ(result, TForm::ModalResultCancel);
    EXPECT_FALSE(LeftOpen);
}

TEST_F(FormContractTest, TerminateEndsTheModalDialogAndEveryLaterShowing)
{
    EXPECT_EQ(ShowPlaying([&] { Driver->Platform().Application().Terminate(); }), TForm::ModalResultCancel);
    EXPECT_FALSE(LeftOpen);
    EXPECT_FALSE(Dialog->Visible());

    bool shown = false;
    Dialog->OnShow = [&] { shown = true; };
    EXPECT_EQ(Dialog->ShowModal(), TForm::ModalResultCancel);
    EXPECT_FALSE(shown);
}

} // namespace
