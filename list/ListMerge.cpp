#include "list/ListMerge.h"

#include "list/CaseFreeTable.h"

#include <string_view>

namespace {

// The entries of one list, each to be taken at most once, in list order among equals.
class TEntryPool
{
    // Gives the texts of the entries to the table of chains.
    auto Text() const
    {
        return [this](std::size_t index) -> const std::string& { return m_texts[index]; };
    }

public:
    static constexpr std::size_t None = static_cast<std::size_t>(-1);

    explicit TEntryPool(const std::vector<std::string>& texts)
        : m_texts(texts)
        , m_heads(texts.size(), None)
        , m_next(texts.size(), None)
        , m_taken(texts.size(), false)
    {
        m_chains.Reserve(texts.size());
        for (std::size_t i = texts.size(); i-- > 0;) {
            std::size_t& head = m_heads[m_chains.Add(i, Text())];
            m_next[i] = head;
            head = i;
        }
    }
    TEntryPool(const TEntryPool&) = delete;
    TEntryPool& operator=(const TEntryPool&) = delete;

    // Takes the first untaken entry spelt exactly like text; its index, or None.
    std::size_t TakeExact(std::string_view text) { return TakeSpeltAlike(text, ChainOf(text)); }

    // Takes the first untaken entry equal to text without regard to letter case, preferring
    // one spelt exactly alike; its index, or None.
    std::size_t TakeSame(std::string_view text)
    {
        const std::size_t chain = ChainOf(text);
        const std::size_t exact = TakeSpeltAlike(text, chain);
        return exact != None ? exact : Take(chain, [](const std::string&) { return true; });
    }

    bool Taken(std::size_t index) const { return m_taken[index]; }

private:
    // The chain of the entries equal to text without regard to letter case, or None.
    std::size_t ChainOf(std::string_view text) const { return m_chains.Find(text, Text()); }

    std::size_t TakeSpeltAlike(std::string_view text, std::size_t chain)
    {
        return Take(chain, [text](const std::string& entry) { return entry == text; });
    }

    template <class TMatch> std::size_t Take(std::size_t chain, TMatch matches)
    {
        if (chain == TCaseFreeTable::None)
            return None;
        // Taken entries leave their chain, so a list of many equal entries costs no more.
        for (std::size_t* link = &m_heads[chain]; *link != None; link = &m_next[*link]) {
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
    // Entries by their text without letter case, each chain in list order: the entry that stands
    // for the chain's text in m_chains, its first untaken entry in m_heads at that entry's place,
    // the next in m_next. Every entry of a chain is the same text as the others.
    TCaseFreeTable m_chains;
    std::vector<std::size_t> m_heads;
    std::vector<std::size_t> m_next;
    std::vector<bool> m_taken;
};

} // namespace

std::vector<std::string> MergeList(const TMergeBase& base, const std::vector<std::string>& fileNow,
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
