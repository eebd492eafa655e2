#pragma once

#include "platform/common/Text.h"

#include <cstddef>
#include <cstdint>
#include <limits>
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
        return Held(m_slots[SlotOf(text, HashOf(text), textOf)]);
    }

    // Holds index for its text unless an index is held for that text already; the index held.
    template <class TTextOf> std::size_t Add(std::size_t index, const TTextOf& textOf)
    {
        Reserve(m_used + 1);
        const std::string_view text = textOf(index);
        const std::uint32_t hash = HashOf(text);
        TSlot& slot = m_slots[SlotOf(text, hash, textOf)];
        if (slot.Index == Free) {
            slot = { hash, static_cast<std::uint32_t>(index) };
            ++m_used;
        }
        return Held(slot);
    }

    // Room for count texts, so that adding them moves none.
    void Reserve(std::size_t count);
    // Forgets every index, keeping the room.
    void Clear();

private:
    // Half the size of a slot of two std::size_t, so more of the table stays in the cache; a list
    // file is far too short for four billion entries.
    static constexpr std::uint32_t Free = std::numeric_limits<std::uint32_t>::max();
    struct TSlot
    {
        std::uint32_t Hash = 0;
        std::uint32_t Index = Free;
    };

    static std::uint32_t HashOf(std::string_view text);
    static std::size_t Held(const TSlot& slot) { return slot.Index == Free ? None : slot.Index; }
    // Where the search for a text with hash begins.
    std::size_t Start(std::uint32_t hash) const;

    // The slot holding text's index, or the free slot where it would go.
    template <class TTextOf> std::size_t SlotOf(std::string_view text, std::uint32_t hash, const TTextOf& textOf) const
    {
        const std::size_t mask = m_slots.size() - 1;
        for (std::size_t at = Start(hash);; at = (at + 1) & mask) {
            const TSlot& slot = m_slots[at];
            if (slot.Index == Free || (slot.Hash == hash && SameText(textOf(slot.Index), text)))
                return at;
        }
    }

    std::vector<TSlot> m_slots;
    std::size_t m_used = 0;
};
