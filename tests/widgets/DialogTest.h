// A modal dialog over a main form, driven as the user would through the backend's driver.
#pragma once

#include "WidgetDriver.h"

#include <gtest/gtest.h>

// The address dialog's controls: an edit box and two buttons, no default among them. They are
// declared in another order than their tab order, which Tab must follow all the same.
inline TFormDecl DialogDecl()
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

inline TFormDecl MainDecl()
{
    TFormDecl decl;
    decl.Name = "Main";
    decl.Caption = "Main";
    decl.ClientWidth = 400;
    decl.ClientHeight = 300;
    decl.Controls = { ControlDecl(TControlKind::Button, "Button1", "Go", { 8, 8, 100, 25 }, 0) };
    return decl;
}

class DialogTest : public ::testing::Test
{
protected:
    DialogTest()
    {
        Main->Show();
        Save().OnClick = [this] { Dialog->SetModalResult(TForm::ModalResultSave); };
        Cancel().OnClick = [this] { Dialog->SetModalResult(TForm::ModalResultCancel); };
        Dialog->OnShow = [this] { Edit().SetFocus(); };
    }

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
        Driver->RunSoon([this, play, showing] {
            ASSERT_TRUE(Driver->WaitFor([this] { return Dialog->Visible() && Edit().Focused(); }));
            play();
            Driver->RunSoon([this, showing] {
                if (showing == m_showings && Dialog->Visible()) {
                    LeftOpen = true;
                    Driver->CloseByFrame(*Dialog);
                }
            });
        });
        return Dialog->ShowModal();
    }

    bool LeftOpen = false;

    std::unique_ptr<TWidgetDriver> Driver = CreateWidgetDriver();
    std::unique_ptr<TForm> Main = Driver->Platform().CreateForm(MainDecl());
    std::unique_ptr<TForm> Dialog = Driver->Platform().CreateForm(DialogDecl());

private:
    int m_showings = 0;
};
