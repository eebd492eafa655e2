#include "list/IniFile.h"

#include "list/WholeNumber.h"
#include "platform/common/Text.h"

#include <algorithm>

namespace {

bool IsBlank(char c)
{
    return static_cast<unsigned char>(c) <= 0x20;
}

// Where the line from start ends: at its CR or LF, or at the end of the text.
std::size_t LineEnd(std::string_view text, std::size_t start)
{
    // A plain loop: find_first_of searches the set once per character.
    std::size_t end = start;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n')
        ++end;
    return end;
}

// A hash of what is left of a name after dropping letters and every non-ASCII byte. Case
// rules only ever relate letters, so two names equal without regard to case share it.
std::uint64_t CaseFreeHash(std::string_view name)
{
    // FNV-1a: short names, no allocation.
    std::uint64_t hash = 14695981039346656037u;
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        const bool asciiLetter = (byte | 0x20) >= 'a' && (byte | 0x20) <= 'z';
        if (byte < 0x80 && !asciiLetter)
            hash = (hash ^ byte) * 1099511628211u;
    }
    return hash;
}

// Exact equality is by far the most common case and needs no case rules.
bool SameName(std::string_view a, std::string_view b)
{
    return a == b || SameText(a, b);
}

// Index of the section's first line with key, or the line count when there is none.
std::size_t FindKey(const TIniFile::TSection& section, std::string_view key)
{
    const auto found = std::find_if(section.Lines.begin(), section.Lines.end(), [&](const TIniFile::TLine& line) {
        return line.HasKey && SameName(line.Key, key);
    });
    return static_cast<std::size_t>(found - section.Lines.begin());
}

} // namespace

std::string_view TrimIniText(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

TIniFile TIniFile::Parse(std::string_view text)
{
    text = text.substr(0, text.find('\0'));
    TIniFile ini;
    TSection* current = nullptr;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = LineEnd(text, start);
        const auto line = TrimIniText(text.substr(start, end - start));
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);

        if (line.empty() || line.front() == ';')
            continue;
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            current = &ini.AddSection(TrimIniText(line.substr(1, line.size() - 2)));
            continue;
        }
        if (!current)
            continue;
        const auto equals = line.find('=');
        if (equals == std::string_view::npos)
            current->Lines.push_back({ false, {}, std::string(line) });
        else
            current->Lines.push_back({ true, std::string(TrimIniText(line.substr(0, equals))),
                                       std::string(TrimIniText(line.substr(equals + 1))) });
    }
    return ini;
}

std::string TIniFile::ReadText(std::string_view section, std::string_view key, std::string_view defaultValue) const
{
    auto text = FindText(section, key);
    return text ? std::move(*text) : std::string(defaultValue);
}

std::optional<std::string> TIniFile::FindText(std::string_view section, std::string_view key) const
{
    const auto found = FindSection(section);
    if (!found)
        return std::nullopt;
    const TSection& target = m_sections[*found];
    const std::size_t line = FindKey(target, key);
    return line < target.Lines.size() ? std::optional(target.Lines[line].Text) : std::nullopt;
}

int TIniFile::ReadWholeNumber(std::string_view section, std::string_view key, int defaultValue) const
{
    return ParseWholeNumber(ReadText(section, key, ""), defaultValue);
}

void TIniFile::WriteText(std::string_view section, std::string_view key, std::string_view value)
{
    const auto found = FindSection(section);
    TSection& target = found ? m_sections[*found] : AddSection(section);
    TLine line { true, std::string(key), std::string(value) };
    const std::size_t index = FindKey(target, key);
    if (index < target.Lines.size())
        target.Lines[index] = std::move(line);
    else
        target.Lines.push_back(std::move(line));
}

void TIniFile::WriteWholeNumber(std::string_view section, std::string_view key, int value)
{
    WriteText(section, key, std::to_string(value));
}

void TIniFile::Clear()
{
    m_sections.clear();
    m_chains.clear();
    m_usedChains = 0;
    m_nextWithSameKey.clear();
}

std::string TIniFile::Serialise() const
{
    // Sized first: a list file's text runs to tens of megabytes, which growing would copy over and over.
    std::size_t size = 0;
    for (const auto& section : m_sections) {
        size += section.Name.size() + 6;
        for (const auto& line : section.Lines)
            size += line.Key.size() + line.Text.size() + 3;
    }
    std::string out;
    out.reserve(size);
    for (const auto& section : m_sections) {
        out += '[';
        out += section.Name;
        out += "]\r\n";
        for (const auto& line : section.Lines) {
            if (line.HasKey) {
                out += line.Key;
                out += '=';
            }
            out += line.Text;
            out += "\r\n";
        }
        out += "\r\n";
    }
    return out;
}

TIniFile::TSection& TIniFile::AddSection(std::string_view name)
{
    const std::size_t index = m_sections.size();
    m_nextWithSameKey.push_back(NoSection);
    TChain& chain = ChainOf(CaseFreeHash(name));
    if (chain.First == NoSection)
        chain.First = index;
    else
        m_nextWithSameKey[chain.Last] = index;
    chain.Last = index;
    return m_sections.emplace_back(TSection { std::string(name), {} });
}

std::optional<std::size_t> TIniFile::FindSection(std::string_view name) const
{
    if (m_chains.empty())
        return std::nullopt;
    const TChain& chain = m_chains[SlotOf(CaseFreeHash(name))];
    for (std::size_t index = chain.First; index != NoSection; index = m_nextWithSameKey[index])
        if (SameName(m_sections[index].Name, name))
            return index;
    return std::nullopt;
}

TIniFile::TChain& TIniFile::ChainOf(std::uint64_t hash)
{
    // Kept at most half full, so probes stay short.
    if (2 * (m_usedChains + 1) > m_chains.size()) {
        std::vector<TChain> old(std::max<std::size_t>(16, 2 * m_chains.size()));
        old.swap(m_chains);
        for (const TChain& chain : old)
            if (chain.First != NoSection)
                m_chains[SlotOf(chain.Hash)] = chain;
    }
    TChain& chain = m_chains[SlotOf(hash)];
    if (chain.First == NoSection) {
        chain.Hash = hash;
        ++m_usedChains;
    }
    return chain;
}

std::size_t TIniFile::SlotOf(std::uint64_t hash) const
{
    const std::size_t mask = m_chains.size() - 1;
    // FNV-1a leaves the low bits of short names that differ in one digit alike ("[1]", "[11]",
    // ...); a multiplication spreads them, so that neighbours do not cluster.
    auto slot = static_cast<std::size_t>((hash * 0x9E3779B97F4A7C15u) >> 32) & mask;
    while (m_chains[slot].First != NoSection && m_chains[slot].Hash != hash)
        slot = (slot + 1) & mask;
    return slot;
}
