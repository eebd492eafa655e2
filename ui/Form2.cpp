#include "ui/Form2.h"

#include "platform/Application.h"
#include "platform/Form.h"
#include "platform/Platform.h"

namespace {
// No control is anchored to the right or bottom: they keep their places when the dialog is resized.
TFormDecl Form2Decl()
{
    TFormDecl decl;
    decl.Name = "Form2";
    decl.Caption = "Add computer";
    decl.ClientWidth = 319;
    decl.ClientHeight = 138;
    decl.Controls = {
        // The label sizes itself to its caption (167 wide in Tahoma), so a wider stand-in font never cuts it.
        ControlDecl(TControlKind::Label, "Label1", "Client Address (i.e. John-PC:8080)", { 27, 28, 0, 13 }, -1),
        ControlDecl(TControlKind::Edit, "Edit1", "", { 27, 47, 265, 21 }, 2),
        ControlDecl(TControlKind::Button, "Button1", "Save", { 27, 82, 121, 25 }, 0),
        ControlDecl(TControlKind::Button, "Button2", "Cancel", { 179, 82, 113, 25 }, 1),
    };
    return decl;
}
} // namespace

TForm2::TForm2(TPlatform& platform)
    : m_application(platform.Application())
    , m_form(platform.CreateForm(Form2Decl()))
{
    m_form->OnShow = [this] { FormShow(); };
    m_form->Button("Button1").OnClick = [this] { Button1Click(); };
    m_form->Button("Button2").OnClick = [this] { Button2Click(); };
}

TForm2::~TForm2() = default;

TEdit& TForm2::Edit1()
{
    return m_form->Edit("Edit1");
}

int TForm2::ShowModal()
{
    if (m_application.Terminated())
        return TForm::ModalResultCancel;
    return m_form->ShowModal();
}

void TForm2::FormShow()
{
    Edit1().SetFocus();
}

void TForm2::Button1Click()
{
    m_form->SetModalResult(TForm::ModalResultSave);
}

void TForm2::Button2Click()
{
    m_form->SetModalResult(TForm::ModalResultCancel);
}
