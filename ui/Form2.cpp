#include "ui/Form2.h"

#include "platform/Application.h"
#include "platform/Form.h"
#include "platform/Platform.h"

namespace {
TFormDecl Form2Decl()
{
    TFormDecl decl;
    decl.Name = "Form2";
    decl.Caption = "Add computer";
    decl.ClientWidth = 319;
    decl.ClientHeight = 138;

    TControlDecl label;
    label.Kind = TControlKind::Label;
    label.Name = "Label1";
    label.Caption = "Client Address (i.e. John-PC:8080)";
    label.Bounds = { 27, 28, 167, 13 };

    TControlDecl edit;
    edit.Kind = TControlKind::Edit;
    edit.Name = "Edit1";
    edit.Bounds = { 27, 47, 265, 21 };
    edit.TabOrder = 2;

    TControlDecl save;
    save.Kind = TControlKind::Button;
    save.Name = "Button1";
    save.Caption = "Save";
    save.Bounds = { 27, 82, 121, 25 };
    save.TabOrder = 0;

    TControlDecl cancel;
    cancel.Kind = TControlKind::Button;
    cancel.Name = "Button2";
    cancel.Caption = "Cancel";
    cancel.Bounds = { 179, 82, 113, 25 };
    cancel.TabOrder = 1;

    decl.Controls = { label, edit, save, cancel };
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
