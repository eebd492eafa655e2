#include "platform/win32/RowDescriptions.h"

#include "platform/win32/AccessibleAnnotation.h"

namespace {

// The accessible child that stands for row: children are numbered from 1.
DWORD ChildOf(int row)
{
    return static_cast<DWORD>(row) + 1;
}

} // namespace

TRowDescriptions::TRowDescriptions(HWND list)
    : m_list(list)
    , m_services(AccessibleAnnotations())
{ }

TRowDescriptions::~TRowDescriptions()
{
    for (int row = 0; row < static_cast<int>(m_descriptions.size()); ++row)
        Clear(row);
}

void TRowDescriptions::RowAppended()
{
    m_descriptions.emplace_back();
}

void TRowDescriptions::Set(int row, std::wstring description)
{
    auto& held = m_descriptions.at(static_cast<std::size_t>(row));
    if (held == description)
        return;
    held = std::move(description);
    Annotate(row);
}

void TRowDescriptions::RowDeleted(int row)
{
    m_descriptions.erase(m_descriptions.begin() + row);
    // Every later row is now one child earlier; the last child number is gone.
    for (int later = row; later < static_cast<int>(m_descriptions.size()); ++later)
        Annotate(later);
    Clear(static_cast<int>(m_descriptions.size()));
}

void TRowDescriptions::Annotate(int row)
{
    if (!m_services)
        return;
    const std::wstring& description = m_descriptions[static_cast<std::size_t>(row)];
    if (description.empty())
        Clear(row);
    else
        m_services->SetHwndPropStr(m_list, OBJID_CLIENT, ChildOf(row), AccessibleProperty::Description,
                                   description.c_str());
    NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, m_list, OBJID_CLIENT, static_cast<LONG>(ChildOf(row)));
}

void TRowDescriptions::Clear(int row)
{
    if (!m_services)
        return;
    MSAAPROPID property = AccessibleProperty::Description;
    m_services->ClearHwndProps(m_list, OBJID_CLIENT, ChildOf(row), &property, 1);
}
