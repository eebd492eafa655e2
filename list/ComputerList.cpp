#include "list/ComputerList.h"

#include "platform/common/Text.h"
#include "platform/ListBox.h"
#include "platform/OstrelError.h"

namespace {

// What a screen reader tells of an entry after its text.
std::string StatusDescription(const TInfo& status)
{
    return status.Online ? "online" : "offline";
}

} // namespace

// Rows the control holds already are entries without status.
TComputerList::TComputerList(TListBox& rows)
    : m_rows(rows)
{
    for (int row = 0; row < rows.RowCount(); ++row)
        m_entries.push_back({ rows.RowText(row), std::nullopt });
    IndexRows();
}

void TComputerList::IndexRows()
{
    m_firstRows.Clear();
    for (int index = 0; index < Count(); ++index)
        IndexEntry(index);
}

void TComputerList::IndexEntry(int index)
{
    m_firstRows.Add(static_cast<std::size_t>(index), EntryText());
}

int TComputerList::Count() const
{
    return static_cast<int>(m_entries.size());
}

const std::string& TComputerList::Text(int index) const
{
    CheckIndex(index);
    return m_entries[index].Text;
}

const TInfo* TComputerList::Status(int index) const
{
    CheckIndex(index);
    const auto& status = m_entries[index].Status;
    return status ? &*status : nullptr;
}

void TComputerList::Append(std::string text, std::optional<TInfo> status)
{
    m_rows.AppendRow(text);
    m_entries.push_back({ std::move(text), status });
    if (status)
        m_rows.SetRowDescription(Count() - 1, StatusDescription(*status));
    IndexEntry(Count() - 1);
    m_rows.Invalidate();
}

int TComputerList::FindExact(const std::string& text) const
{
    const std::size_t index = m_firstRows.Find(text, EntryText());
    return index == TCaseFreeTable::None ? None : static_cast<int>(index);
}

void TComputerList::ReplaceText(int index, const std::string& text)
{
    CheckIndex(index);
    const int selection = m_rows.ItemIndex();
    m_entries[index].Text = text;
    m_rows.SetRowText(index, text);
    // A list control may replace a row's text by deleting and inserting the row, which drops
    // the selection (the Win32 list box has no other way).
    if (m_rows.ItemIndex() != selection)
        m_rows.SetItemIndex(selection);
    IndexRows();
    m_rows.Invalidate();
}

void TComputerList::Delete(int index)
{
    CheckIndex(index);
    m_rows.DeleteRow(index);
    m_entries.erase(m_entries.begin() + index);
    IndexRows();
    m_rows.Invalidate();
}

int TComputerList::Selection() const
{
    return m_rows.ItemIndex();
}

void TComputerList::SetSelection(int index)
{
    if (index >= 0 && index < Count())
        m_rows.SetItemIndex(index);
}

void TComputerList::MarkAllOffline()
{
    for (int index = 0; index < Count(); ++index)
        SetOnline(index, false);
    m_rows.Invalidate();
}

void TComputerList::MarkOnline(int index)
{
    CheckIndex(index);
    SetOnline(index, true);
    m_rows.Invalidate();
}

void TComputerList::SetOnline(int index, bool online)
{
    auto& status = m_entries[index].Status;
    // Only a change is described anew: a screen reader announces every description it is given.
    if (!status || status->Online == online)
        return;
    status->Online = online;
    m_rows.SetRowDescription(index, StatusDescription(*status));
}

void TComputerList::MergeDiscovered(const std::string& address)
{
    const int match = FindExact(address);
    if (match == None)
        Append(address, TInfo(true));
    else
        MarkOnline(match);
}

void TComputerList::AddDiscovered(const std::string& address)
{
    if (FindExact(address) == None)
        Append(address, TInfo(true));
}

void TComputerList::CheckIndex(int index) const
{
    if (index < 0 || index >= Count())
        throw EOstrelError("List index out of bounds (" + std::to_string(index) + ")");
}
