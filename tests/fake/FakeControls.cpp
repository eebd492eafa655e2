#include "FakeControls.h"

#include <stdexcept>

void TFakeListBox::DeleteRow(int row)
{
    m_rows.erase(m_rows.begin() + row);
    if (m_itemIndex == row)
        m_itemIndex = -1;
    else if (m_itemIndex > row)
        --m_itemIndex;
}

void TFakeListBox::SetItemIndex(int row)
{
    if (row >= 0 && row < RowCount())
        m_itemIndex = row;
}

TRect TFakeListBox::ClientRect() const
{
    return { 0, 0, Decl.Bounds.Width, Decl.Bounds.Height };
}

TRect TFakeListBox::ItemRect(int row) const
{
    const int top = (row - m_topIndex) * Decl.ItemHeight;
    return { 0, top, Decl.Bounds.Width, top + Decl.ItemHeight };
}

TFakePopupMenu::TFakePopupMenu(const TControlDecl& decl)
    : m_name(decl.Name)
{
    for (const auto& item : decl.Items)
        m_items.push_back(std::make_unique<TFakeMenuItem>(item));
}

TMenuItem& TFakePopupMenu::Item(std::string_view name)
{
    for (auto& item : m_items)
        if (item->Name() == name)
            return *item;
    throw std::out_of_range("no menu item " + std::string(name));
}

void TFakeWebBrowser::Navigate(const std::string& url)
{
    Navigations.push_back(url);
    m_location = url;
}

int TFakeWebBrowser::ReadyState()
{
    ++ReadyStateReads;
    return NextReadyState;
}
