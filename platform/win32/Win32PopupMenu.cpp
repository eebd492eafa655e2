#include "platform/win32/Win32PopupMenu.h"

#include "platform/common/AccessKey.h"
#include "platform/OstrelError.h"
#include "platform/windows/WideText.h"

namespace {
// Item n has the command n + 1: TrackPopupMenu reports 0 when nothing was chosen.
UINT CommandOf(std::size_t index)
{
    return static_cast<UINT>(index + 1);
}
} // namespace

TWin32PopupMenu::TWin32PopupMenu(const TControlDecl& decl, TDispatch dispatch)
    : m_name(decl.Name)
    , m_dispatch(std::move(dispatch))
    , m_menu(CreatePopupMenu())
{
    if (!m_menu)
        throw EOstrelError("Cannot create the menu " + decl.Name);
    for (const auto& item : decl.Items) {
        m_items.push_back(std::make_unique<TWin32MenuItem>(item));
        const UINT command = CommandOf(m_items.size() - 1);
        if (m_items.back()->IsSeparator())
            AppendMenuW(m_menu.Get(), MF_SEPARATOR, command, nullptr);
        else
            AppendMenuW(m_menu.Get(), MF_STRING, command, Widen(item.Caption).c_str());
    }
}

TMenuItem& TWin32PopupMenu::Item(std::string_view name)
{
    for (auto& item : m_items) {
        if (item->Name() == name)
            return *item;
    }
    throw EOstrelError("No menu item " + std::string(name) + " in " + m_name);
}

void TWin32PopupMenu::Popup(HWND owner, POINT at)
{
    // Each showing gives every item the first letter of its caption as its access key.
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i]->IsSeparator())
            continue;
        const std::wstring caption = Widen(WithAccessKey(m_items[i]->Caption()));
        ModifyMenuW(m_menu.Get(), CommandOf(i), MF_BYCOMMAND | MF_STRING, CommandOf(i), caption.c_str());
    }
    // Without being the foreground window the owner would leave the menu open when the user
    // clicks elsewhere; the message after it lets the menu close at once.
    SetForegroundWindow(owner);
    const auto chosen = static_cast<UINT>(TrackPopupMenu(
        m_menu.Get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, at.x, at.y, 0, owner, nullptr));
    PostMessageW(owner, WM_NULL, 0, 0);
    if (chosen == 0 || chosen > m_items.size())
        return;
    auto& item = *m_items[chosen - 1];
    m_dispatch([&item] {
        if (item.OnClick)
            item.OnClick();
    });
}
