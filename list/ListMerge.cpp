#include "list/ListMerge.h"

#include "platform/Text.h"

#include <cstdint>
#include <string_view>
#include <unordered_map>

namespace {

// A hash that letter case cannot change: ASCII letters count in lower case, and every other
// code point as one and the same mark. k, s and i count as that mark too, because letters
// outside ASCII fold to them (the Kelvin sign, the long s, the dotless i).
std::uint64_t CaseFreeHash(std::string_view text)
{
    constexpr unsigned char Mark = 0x80;
    std::uint64_t hash = 14695981039346656037u;
    for (const char c : text) {
        auto byte = static_cast<unsigned char>(c);
        // A UTF-8 continuation byte belongs to the code point marked at its lead byte.
        if ((byte & 0xC0) == 0x80)
            continue;
        if (byte >= 'A' && byte <= 'Z')
            byte = static_cast<unsigned char>(byte - 'A' + 'a');
        if (byte >= 0x80 || byte == 'k' || byte == 's' || byte == 'i')
            byte = Mark;
        hash = (hash ^ byte) * 1099511628211u;
    }
    return hash;
}

// The entries of one list, each to be taken at most once, in list order among equals.
class TEntryPool
{
public:
    static constexpr std::size_t None = static_cast<std::size_t>(-1);

    explicit TEntryPool(const std::vector<std::string>& texts)
        : m_texts(texts)
        , m_next(texts.size(), None)
        , m_taken(texts.size(), false)
    {
        for (std::size_t i = texts.size(); i-- > 0;) {
            auto& head = m_heads.try_emplace(CaseFreeHash(texts[i]), None).first->second;
            m_next[i] = head;
            head = i;
        }
    }
    TEntryPool(const TEntryPool&) = delete;
    TEntryPool& operator=(const TEntryPool&) = delete;

    // Takes the first untaken entry spelt exactly like text; its index, or None.
    std::size_t TakeExact(std::string_view text)
    {
        return Take(text, [text](const std::string& entry) { return entry == text; });
    }

    // Takes the first untaken entry equal to text without regard to letter case, preferring
    // one spelt exactly alike; its index, or None.
    std::size_t TakeSame(std::string_view text)
    {
        const std::size_t exact = TakeExact(text);
        return exact != None ? exact : Take(text, [text](const std::string& entry) { return SameText(entry, text); });
    }

    bool Taken(std::size_t index) const { return m_taken[index]; }

private:
    template <class TMatch> std::size_t Take(std::string_view text, TMatch matches)
    {
        const auto chain = m_heads.find(CaseFreeHash(text));
        if (chain == m_heads.end())
            return None;
        // Taken entries leave their chain, so a list of many equal entries costs no more.
        for (std::size_t* link = &chain->second; *link != None; link = &m_next[*link]) {
            const std::size_t index = *link;
            if (matches(m_texts[index])) {
                *link = m_next[index];
                m_taken[index] = true;
                return index;
            }
        }
        return None;
    }

    const std::vector<std::string>& m_texts;
    // Entries by hash, each chain in list order: its first entry here, the next in m_next.
    std::unordered_map<std::uint64_t, std::size_t> m_heads;
    std::vector<std::size_t> m_next;
    std::vector<bool> m_taken;
};

} // namespace

std::vector<std::string> MergeList(const TListBase& base, const std::vector<std::string>& fileNow,
                                   const std::vector<std::string>& list)
{
    // The base's entries that the list still holds are kept; the rest this copy deleted.
    // The list's entries that no base entry takes, it added.
    TEntryPool listEntries(list);
    std::vector<bool> deleted(base.Texts.size());
    for (std::size_t i = 0; i < base.Texts.size(); ++i)
        deleted[i] = listEntries.TakeExact(base.Texts[i]) == TEntryPool::None;

    // Every base entry takes the file entry it stands for, deletions first so that each takes
    // the entry spelt like it. A file entry that no base entry takes was added by another copy.
    TEntryPool fileEntries(fileNow);
    std::vector<bool> dropped(fileNow.size(), false);
    for (std::size_t i = 0; i < base.Texts.size(); ++i)
        if (deleted[i])
            if (const std::size_t taken = fileEntries.TakeSame(base.Texts[i]); taken != TEntryPool::None)
                dropped[taken] = true;
    for (std::size_t i = 0; i < base.Texts.size(); ++i)
        if (!deleted[i])
            fileEntries.TakeSame(base.Texts[i]);

    std::vector<std::string> merged;
    merged.reserve(fileNow.size() + list.size());
    for (std::size_t i = 0; i < fileNow.size(); ++i)
        if (!dropped[i])
            merged.push_back(fileNow[i]);
    // An addition that another copy made as well is in the file once already.
    for (std::size_t i = 0; i < list.size(); ++i)
        if (!listEntries.Taken(i) && fileEntries.TakeSame(list[i]) == TEntryPool::None)
            merged.push_back(list[i]);
    return merged;
}
