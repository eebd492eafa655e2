#include "FakeForm.h"

TFakeForm::TFakeForm(const TFormDecl& decl)
    : Decl(decl)
    , m_caption(decl.Caption)
{
    for (const auto& control : decl.Controls) {
        std::unique_ptr<TAnyControl> made;
        switch (control.Kind) {
        case TControlKind::Button:
            made = std::make_unique<THolder<TFakeButton>>(control);
            break;
        case TControlKind::Label:
            made = std::make_unique<THolder<TFakeLabel>>(control);
            break;
        case TControlKind::ProgressBar:
            made = std::make_unique<THolder<TFakeProgressBar>>(control);
            break;
        case TControlKind::Edit:
            made = std::make_unique<THolder<TFakeEdit>>(control);
            break;
        case TControlKind::ListBox:
            made = std::make_unique<THolder<TFakeListBox>>(control);
            break;
        case TControlKind::PopupMenu:
            made = std::make_unique<THolder<TFakePopupMenu>>(control);
            break;
        case TControlKind::WebBrowser:
            made = std::make_unique<THolder<TFakeWebBrowser>>(control);
            break;
        }
        m_controls.emplace(control.Name, std::move(made));
    }
}

void TFakeForm::Show()
{
    // Every showing the program asks for raises OnShow, as on the real backends.
    m_visible = true;
    if (OnShow)
        OnShow();
}

void TFakeForm::Close()
{
    bool canClose = true;
    if (OnCloseQuery)
        OnCloseQuery(canClose);
    if (canClose)
        m_visible = false;
}

int TFakeForm::ShowModal()
{
    ++ModalShowings;
    m_modalResult = 0;
    m_visible = true;
    if (OnShow)
        OnShow();
    const int played = OnShowModal ? OnShowModal(*this) : TForm::ModalResultCancel;
    m_visible = false;
    return m_modalResult != 0 ? m_modalResult : played;
}
