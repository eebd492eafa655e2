#pragma once

#include "platform/Text.h"

#include <cstddef>
#include <string_view>
#include <vector>

// Indexes by their text without regard to letter case: for each such text, the first index added
// with it. The table holds no texts, as they may each be as long as a datagram: textOf(index)
// gives the text of an index it holds. Open addressing in one array kept at most half full, as a
// list runs to a million entries: no allocation per text, and a lookup mostly reads one slot.
class TCaseFreeTable
{
public:
    static constexpr std::size_t None = static_cast<std::size_t>(-1);

    // The index held for text, or None.
    template <class TTextOf> std::size_t Find(std::string_view text, const TTextOf& textOf) const
    {
        if (m_slots.empty())
            return None;
        return m_slots[SlotOf(text, FoldedHash(text), textOf)].Index;
    }

    // Holds index for its text unless an index is held for that text already; the index held.
    template <class TTextOf> std::size_t Add(std::size_t index, const TTextOf& textOf)
    {
        Reserve(m_used + 1);
        const std::string_view text = textOf(index);
        const std::size_t hash = FoldedHash(text);
        TSlot& slot = m_slots[SlotOf(text, hash, textOf)];
        if (slot.Index == None) {
            slot = { hash, index };
            ++m_used;
        }
        return slot.Index;
    }

    // Room for count texts, so that adding them moves none.
    void Reserve(std::size_t count);
    // Forgets every index, keeping the room.
    void Clear();

private:
    struct TSlot
    {
        std::size_t Hash = 0;
        std::size_t Index = None;
    };

    // Where the search for a text with hash begins.
    std::size_t Start(std::size_t hash) const;

    // The slot holding text's index, or the free slot where it would go.
    template <class TTextOf> std::size_t SlotOf(std::string_view text, std::size_t hash, const TTextOf& textOf) const
    {
        const std::size_t mask = m_slots.size() - 1;
        for (std::size_t at = Start(hash);; at = (at + 1) & mask) {
            const TSlot& slot = m_slots[at];
            if (slot.Index == None || (slot.Hash == hash && SameText(textOf(slot.Index), text)))
                return at;
        }
    }

    std::vector<TSlot> m_slots;
    std::size_t m_used = 0;
};
