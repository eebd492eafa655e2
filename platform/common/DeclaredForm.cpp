#include "platform/common/DeclaredForm.h"

#include "platform/Application.h"
#include "platform/common/FormRegistry.h"
#include "platform/OstrelError.h"

#include <algorithm>
#include <vector>

TDeclaredForm::TDeclaredForm(const TFormDecl& decl, TApplication& application, TFormRegistry& forms, TDispatch dispatch,
                             const TWindowFactory& makeWindow)
    : m_decl(decl)
    , m_application(application)
    , m_forms(forms)
    , m_dispatch(std::move(dispatch))
    , m_window(makeWindow(*this))
{
    CreateControls();
    m_forms.Add(*this, *m_window);
}

TDeclaredForm::~TDeclaredForm()
{
    m_forms.Remove(*this);
    // The controls go before the window they live in.
    m_controls.clear();
    m_popupMenus.clear();
}

void TDeclaredForm::CreateControls()
{
    for (const auto& decl : m_decl.Controls) {
        if (decl.Kind == TControlKind::PopupMenu)
            m_popupMenus.emplace(decl.Name, m_window->CreatePopupMenu(decl));
    }
    for (const auto& decl : m_decl.Controls) {
        if (decl.Kind == TControlKind::PopupMenu)
            continue;
        TPopupMenu* menu = decl.PopupMenu.empty() ? nullptr : &PopupMenu(decl.PopupMenu);
        m_controls.emplace(decl.Name, m_window->CreateControl(decl, menu));
    }
    std::vector<const TControlDecl*> stops;
    for (const auto& decl : m_decl.Controls) {
        if (decl.TabOrder >= 0 && decl.Kind != TControlKind::PopupMenu)
            stops.push_back(&decl);
    }
    std::ranges::stable_sort(stops, {}, &TControlDecl::TabOrder);
    std::vector<TControl*> stopControls;
    for (const auto* stop : stops)
        stopControls.push_back(m_controls.find(stop->Name)->second.get());
    m_window->ControlsCreated(stopControls);
}

TPopupMenu& TDeclaredForm::PopupMenu(std::string_view name)
{
    const auto found = m_popupMenus.find(name);
    if (found == m_popupMenus.end())
        ThrowNoControl(name);
    return *found->second;
}

void TDeclaredForm::Show()
{
    m_window->Show(m_decl.StartMaximized);
}

void TDeclaredForm::Shown()
{
    m_dispatch([this] {
        if (OnShow)
            OnShow();
    });
}

bool TDeclaredForm::QueryClose()
{
    bool canClose = true;
    m_dispatch([&] {
        if (OnCloseQuery)
            OnCloseQuery(canClose);
    });
    return canClose;
}

void TDeclaredForm::Close()
{
    if (!QueryClose())
        return;
    if (m_modal)
        SetModalResult(ModalResultCancel);
    else if (m_forms.IsMain(*this))
        m_application.Terminate();
    else
        m_window->Hide();
}

void TDeclaredForm::SaveForSession()
{
    // The query's answer does not matter: nothing closes until the session really ends.
    m_savingOnly = true;
    QueryClose();
    m_savingOnly = false;
}

int TDeclaredForm::ShowModal()
{
    if (m_application.Terminated())
        return ModalResultCancel;
    m_modalResult = 0;
    m_modal = true;
    m_forms.ModalStarted(*this);
    m_window->RunModal([this] { return m_modalResult != 0; });
    m_forms.ModalEnded(*this);
    m_modal = false;
    return m_modalResult;
}

void TDeclaredForm::SetModalResult(int result)
{
    m_modalResult = result;
    if (result != 0 && m_modal)
        m_window->WakeModal();
}

bool TDeclaredForm::KeyTyped(char16_t& key)
{
    if (!m_decl.KeyPreview)
        return false;
    m_dispatch([&] {
        if (OnKeyPress)
            OnKeyPress(key);
    });
    // A handler that clears the key swallows it; one that changes it passes on the new key.
    return key == 0;
}

void TDeclaredForm::ThrowNoControl(std::string_view name) const
{
    throw EOstrelError("No control " + std::string(name) + " in " + m_decl.Name);
}
