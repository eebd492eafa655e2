#pragma once

#include "list/CaseFreeTable.h"
#include "list/Info.h"

#include <optional>
#include <string>
#include <vector>

class TListBox;

// The ordered list of computers. Its entries are shown as the rows of the list control, whose
// single selection is the list's selection. The texts are kept here as well, so the list can
// still be saved once the toolkit behind the control has gone.
class TComputerList
{
public:
    // Index meaning "no entry".
    static constexpr int None = -1;

    explicit TComputerList(TListBox& rows);
    TComputerList(const TComputerList&) = delete;
    TComputerList& operator=(const TComputerList&) = delete;

    int Count() const;
    const std::string& Text(int index) const;
    // The entry's status record, or nullptr when it has none.
    const TInfo* Status(int index) const;
    void Append(std::string text, std::optional<TInfo> status);
    // First entry whose whole text equals text without regard to letter case, or None.
    int FindExact(const std::string& text) const;
    // Changes only the text: status and selection stay.
    void ReplaceText(int index, const std::string& text);
    void Delete(int index);
    int Selection() const;
    // An index that names no entry is refused and the selection stays.
    void SetSelection(int index);
    void MarkAllOffline();
    // Marks the entry online if it has a status; redraws either way.
    void MarkOnline(int index);
    // A discovered address: marks the matching entry online, or appends it online.
    void MergeDiscovered(const std::string& address);
    // An address from a reply that came before the latest scan began, and so did not answer it:
    // appends it online when no entry matches it, and marks none online.
    void AddDiscovered(const std::string& address);

private:
    void CheckIndex(int index) const;
    // Sets the entry's online flag, if it has a status, and its row's description with it.
    void SetOnline(int index, bool online);
    // Makes the index anew from the entries, for the changes that move or rename them.
    void IndexRows();
    // Indexes the entry unless an earlier one has the same text without regard to letter case.
    void IndexEntry(int index);
    // Gives the texts of the entries to the index.
    auto EntryText() const
    {
        return [this](std::size_t index) -> const std::string& { return m_entries[index].Text; };
    }

    struct TEntry
    {
        std::string Text;
        std::optional<TInfo> Status;
    };

    TListBox& m_rows;
    std::vector<TEntry> m_entries;
    // The first entry of each text without regard to letter case: a merge in a flood of replies
    // finds its entry without comparing it with every other.
    TCaseFreeTable m_firstRows;
};
