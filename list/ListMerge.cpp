#include "list/ListMerge.h"

#include "list/CaseFreeTable.h"

#include <string_view>
#include <utility>

namespace {

using TTextViews = std::vector<std::string_view>;

// The entries of one list, each to be taken at most once, in list order among equals.
class TEntryPool
{
    // Gives the texts of the entries to the table of chains.
    auto Text() const
    {
        return [this](std::size_t index) { return m_texts[index]; };
    }

public:
    static constexpr std::size_t None = static_cast<std::size_t>(-1);

    explicit TEntryPool(TTextViews texts)
        : m_texts(std::move(texts))
        , m_heads(m_texts.size(), None)
        , m_next(m_texts.size(), None)
        , m_taken(m_texts.size(), false)
    {
        m_chains.Reserve(m_texts.size());
        for (std::size_t i = m_texts.size(); i-- > 0;) {
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
        return exact != None ? exact : Take(chain, [](std::string_view) { return true; });
    }

    bool Taken(std::size_t index) const { return m_taken[index]; }

private:
    // The chain of the entries equal to text without regard to letter case, or None.
    std::size_t ChainOf(std::string_view text) const { return m_chains.Find(text, Text()); }

    std::size_t TakeSpeltAlike(std::string_view text, std::size_t chain)
    {
        return Take(chain, [text](std::string_view entry) { return entry == text; });
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

    TTextViews m_texts;
    // Entries by their text without letter case, each chain in list order: the entry that stands
    // for the chain's text in m_chains, its first untaken entry in m_heads at that entry's place,
    // the next in m_next. Every entry of a chain is the same text as the others.
    TCaseFreeTable m_chains;
    std::vector<std::size_t> m_heads;
    std::vector<std::size_t> m_next;
    std::vector<bool> m_taken;
};

// Texts without regard to letter case.
class TTextSet
{
    auto Text() const
    {
        return [this](std::size_t index) { return m_texts[index]; };
    }

public:
    void Add(std::string_view text)
    {
        m_texts.push_back(text);
        m_table.Add(m_texts.size() - 1, Text());
    }
    bool Holds(std::string_view text) const { return m_table.Find(text, Text()) != TCaseFreeTable::None; }
    bool Empty() const { return m_texts.empty(); }

private:
    TTextViews m_texts;
    TCaseFreeTable m_table;
};

// The texts from the one at from on.
TTextViews Views(const TPackedTexts& texts, std::size_t from)
{
    TTextViews views;
    views.reserve(texts.Size() - from);
    for (std::size_t i = from; i < texts.Size(); ++i)
        views.push_back(texts[i]);
    return views;
}

} // namespace

std::vector<std::string_view> MergeList(const TMergeBase& base, const TPackedTexts& fileNow, const TPackedTexts& list)
{
    // The base's entries that the list still holds are kept; the rest this copy deleted.
    // The list's entries that no base entry takes, it added. Where the two begin alike, each
    // base entry takes the list entry in its place, the first untaken one spelt like it; only
    // the rest is looked up.
    const auto& baseTexts = base.Texts;
    std::size_t start = 0;
    while (start < baseTexts.Size() && start < list.Size() && baseTexts[start] == list[start])
        ++start;
    TEntryPool listEntries(Views(list, start));
    std::vector<bool> deleted(baseTexts.Size(), false);
    TTextSet changed;
    for (std::size_t i = start; i < baseTexts.Size(); ++i) {
        deleted[i] = listEntries.TakeExact(baseTexts[i]) == TEntryPool::None;
        if (deleted[i])
            changed.Add(baseTexts[i]);
    }
    std::vector<std::size_t> added;
    for (std::size_t i = start; i < list.Size(); ++i) {
        if (!listEntries.Taken(i - start)) {
            added.push_back(i);
            changed.Add(list[i]);
        }
    }
    if (changed.Empty())
        return Views(fileNow, 0);

    // Every base entry takes the file entry it stands for, deletions first so that each takes
    // the entry spelt like it. A file entry that no base entry takes was added by another copy.
    // Only the entries equal to a text this copy deleted or added can be dropped or stand for
    // an addition; the others all stay.
    std::vector<std::size_t> fileIndices;
    TTextViews fileTexts;
    for (std::size_t i = 0; i < fileNow.Size(); ++i) {
        if (changed.Holds(fileNow[i])) {
            fileIndices.push_back(i);
            fileTexts.push_back(fileNow[i]);
        }
    }
    TEntryPool fileEntries(std::move(fileTexts));
    std::vector<bool> dropped(fileNow.Size(), false);
    for (std::size_t i = start; i < baseTexts.Size(); ++i)
        if (deleted[i])
            if (const std::size_t taken = fileEntries.TakeSame(baseTexts[i]); taken != TEntryPool::None)
                dropped[fileIndices[taken]] = true;
    for (std::size_t i = 0; i < baseTexts.Size(); ++i)
        if (!deleted[i] && changed.Holds(baseTexts[i]))
            fileEntries.TakeSame(baseTexts[i]);

    TTextViews merged;
    merged.reserve(fileNow.Size() + added.size());
    for (std::size_t i = 0; i < fileNow.Size(); ++i)
        if (!dropped[i])
            merged.push_back(fileNow[i]);
    // An addition that another copy made as well is in the file once already.
    for (const std::size_t i : added)
        if (fileEntries.TakeSame(list[i]) == TEntryPool::None)
            merged.push_back(list[i]);
    return merged;
}
