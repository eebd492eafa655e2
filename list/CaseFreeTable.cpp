#include "list/CaseFreeTable.h"

#include <algorithm>
#include <cstdint>

void TCaseFreeTable::Reserve(std::size_t count)
{
    if (2 * count <= m_slots.size())
        return;
    std::size_t size = std::max<std::size_t>(16, m_slots.size());
    while (size < 2 * count)
        size *= 2;
    std::vector<TSlot> old(size);
    old.swap(m_slots);
    // The texts held all differ, so each takes the first free slot from its start.
    const std::size_t mask = m_slots.size() - 1;
    for (const TSlot& slot : old) {
        if (slot.Index == Free)
            continue;
        std::size_t at = Start(slot.Hash);
        while (m_slots[at].Index != Free)
            at = (at + 1) & mask;
        m_slots[at] = slot;
    }
}

void TCaseFreeTable::Clear()
{
    std::fill(m_slots.begin(), m_slots.end(), TSlot {});
    m_used = 0;
}

std::uint32_t TCaseFreeTable::HashOf(std::string_view text)
{
    const auto hash = static_cast<std::uint64_t>(FoldedHash(text));
    return static_cast<std::uint32_t>(hash ^ (hash >> 32));
}

std::size_t TCaseFreeTable::Start(std::uint32_t hash) const
{
    // FNV-1a leaves the low bits of texts that differ in one late digit alike ("pc1:80",
    // "pc2:80"); a multiplication spreads them.
    const std::uint64_t spread = hash * 0x9E3779B97F4A7C15u;
    return static_cast<std::size_t>(spread >> 32) & (m_slots.size() - 1);
}
