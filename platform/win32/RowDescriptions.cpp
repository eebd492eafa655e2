#include "platform/win32/RowDescriptions.h"

namespace {

// Declared by oleacc.h, but in none of mingw-w64's import libraries.
constexpr GUID DescriptionProperty = { 0x4d48dfe4, 0xbd3f, 0x491f, { 0xa6, 0x48, 0x49, 0x2d, 0x6f, 0x20, 0xc5, 0x88 } };
constexpr CLSID AccPropServices = { 0xb5f8350b, 0x0548, 0x48b1, { 0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7 } };
constexpr IID AccPropServicesInterface
    = { 0x6e26e776, 0x04f0, 0x495d, { 0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69 } };

// The accessible child that stands for row: children are numbered from 1.
DWORD ChildOf(int row)
{
    return static_cast<DWORD>(row) + 1;
}

} // namespace

TRowDescriptions::TRowDescriptions(HWND list)
    : m_list(list)
{
    CoCreateInstance(AccPropServices, nullptr, CLSCTX_INPROC_SERVER, AccPropServicesInterface, m_services.PutVoid());
}

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
        m_services->SetHwndPropStr(m_list, OBJID_CLIENT, ChildOf(row), DescriptionProperty, description.c_str());
    NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, m_list, OBJID_CLIENT, static_cast<LONG>(ChildOf(row)));
}

void TRowDescriptions::Clear(int row)
{
    if (!m_services)
        return;
    MSAAPROPID property = DescriptionProperty;
    m_services->ClearHwndProps(m_list, OBJID_CLIENT, ChildOf(row), &property, 1);
}
