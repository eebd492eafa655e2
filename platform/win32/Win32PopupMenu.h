#pragma once

#include "platform/common/Dispatch.h"
#include "platform/Form.h"
#include "platform/PopupMenu.h"
#include "platform/win32/UniqueMenu.h"
#include "platform/windows/WindowsApi.h"

#include <memory>
#include <vector>

class TWin32MenuItem : public TMenuItem
{
public:
    explicit TWin32MenuItem(TMenuItemDecl decl)
        : m_decl(std::move(decl))
    { }

    std::string Name() const override { return m_decl.Name; }
    std::string Caption() const override { return m_decl.Caption; }
    bool IsSeparator() const { return m_decl.Caption == "-"; }

private:
    TMenuItemDecl m_decl;
};

// A popup menu, shown by the list it belongs to and run to its end before Popup returns.
class TWin32PopupMenu : public TPopupMenu
{
public:
    TWin32PopupMenu(const TControlDecl& decl, TDispatch dispatch);

    std::string Name() const override { return m_name; }
    int ItemCount() const override { return static_cast<int>(m_items.size()); }
    TMenuItem& Item(int index) override { return *m_items.at(static_cast<std::size_t>(index)); }
    TMenuItem& Item(std::string_view name) override;

    // Shows the menu with its top-left corner at screen point at, for owner's window, and
    // raises the chosen item's OnClick once the menu has closed.
    void Popup(HWND owner, POINT at);
    HMENU Handle() const { return m_menu.Get(); }

private:
    std::string m_name;
    TDispatch m_dispatch;
    TUniqueMenu m_menu;
    std::vector<std::unique_ptr<TWin32MenuItem>> m_items;
};
