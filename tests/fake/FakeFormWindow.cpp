#include "FakeFormWindow.h"

#include <stdexcept>

TFakeFormWindow::TFakeFormWindow(const TFormDecl& decl, TFormEvents& events)
    : m_events(events)
    , m_caption(decl.Caption)
    , m_clientWidth(decl.ClientWidth)
    , m_clientHeight(decl.ClientHeight)
{ }

std::unique_ptr<TPopupMenu> TFakeFormWindow::CreatePopupMenu(const TControlDecl& decl)
{
    Made.push_back(decl.Name);
    return std::make_unique<TFakePopupMenu>(decl);
}

namespace {

std::unique_ptr<TControl> MakeControl(const TControlDecl& decl, TPopupMenu* popupMenu)
{
    switch (decl.Kind) {
    case TControlKind::Button:
        return std::make_unique<TFakeButton>(decl);
    case TControlKind::Label:
        return std::make_unique<TFakeLabel>(decl);
    case TControlKind::ProgressBar:
        return std::make_unique<TFakeProgressBar>(decl);
    case TControlKind::Edit:
        return std::make_unique<TFakeEdit>(decl);
    case TControlKind::ListBox: {
        auto list = std::make_unique<TFakeListBox>(decl);
        list->Menu = popupMenu;
        return list;
    }
    case TControlKind::WebBrowser:
        return std::make_unique<TFakeWebBrowser>(decl);
    case TControlKind::PopupMenu:
        break;
    }
    throw std::invalid_argument("a menu is no control: " + decl.Name);
}

} // namespace

std::unique_ptr<TControl> TFakeFormWindow::CreateControl(const TControlDecl& decl, TPopupMenu* popupMenu)
{
    auto control = MakeControl(decl, popupMenu);
    Made.push_back(decl.Name);
    m_controls.emplace(decl.Name, control.get());
    return control;
}

void TFakeFormWindow::ControlsCreated(const std::vector<TControl*>& stops)
{
    for (const auto* stop : stops)
        TabStops.push_back(stop->Name());
}

void TFakeFormWindow::Show(bool)
{
    m_visible = true;
    m_events.Shown();
}

void TFakeFormWindow::RunModal(const std::function<bool()>& ended)
{
    m_visible = true;
    m_events.Shown();
    if (!ended() && OnRunModal)
        OnRunModal(ended);
    m_visible = false;
}

TControl& TFakeFormWindow::Control(std::string_view name) const
{
    const auto found = m_controls.find(name);
    if (found == m_controls.end())
        throw std::out_of_range("no control " + std::string(name));
    return *found->second;
}
