#include "list/ListFileFormat.h"

#include "list/WholeNumber.h"
#include "platform/common/Text.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <optional>

namespace {

constexpr std::string_view GeneralSection = "General";
constexpr std::string_view CountKey = "Computers";
constexpr std::string_view NameKey = "Name";
constexpr std::string_view LineBreak = "\r\n";

bool IsBlank(char c)
{
    return static_cast<unsigned char>(c) <= 0x20;
}

// text less the codes up to 0x20 around it, as every line, section name, key and value is read.
std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Section names and keys are compared without regard to letter case; exact equality, by far the
// most common case, needs no case rules.
bool SameName(std::string_view a, std::string_view b)
{
    return a == b || SameText(a, b);
}

// Where the line from start ends: at its CR or LF, or at the end of the text.
std::size_t LineEnd(std::string_view text, std::size_t start)
{
    std::size_t end = start;
    if constexpr (std::endian::native == std::endian::little) {
        // Eight bytes at a time, as the text runs to megabytes: the lowest byte that equals CR or
        // LF zeroes its byte of one of the two words below, and a borrow marks no byte beneath it.
        constexpr std::uint64_t Ones = 0x0101010101010101u;
        constexpr std::uint64_t Highs = 0x8080808080808080u;
        for (; end + 8 <= text.size(); end += 8) {
            std::uint64_t word = 0;
            std::memcpy(&word, text.data() + end, 8);
            const std::uint64_t cr = word ^ (Ones * '\r');
            const std::uint64_t lf = word ^ (Ones * '\n');
            const std::uint64_t found = (((cr - Ones) & ~cr) | ((lf - Ones) & ~lf)) & Highs;
            if (found != 0)
                return end + static_cast<std::size_t>(std::countr_zero(found)) / 8;
        }
    }
    while (end < text.size() && text[end] != '\r' && text[end] != '\n')
        ++end;
    return end;
}

// The i that "[name]" stands for when name is i in plain decimal, the only form a lookup of i finds.
std::optional<int> SectionIndex(std::string_view name)
{
    int index = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), index);
    const bool plain = !name.empty() && name.front() != '-' && (name.size() == 1 || name.front() != '0');
    if (error != std::errc() || end != name.data() + name.size() || !plain)
        return std::nullopt;
    return index;
}

// A "[i]" section of the text, with the value of its first "Name" line.
struct TEntrySection
{
    std::string_view Name;
    int Index = 0;
    bool HasName = false;
};

// What a list file's text says: the value of the first "Computers" line of the first "General"
// section, and the "[i]" sections in the order they stand.
struct TListText
{
    std::optional<std::string_view> Count;
    std::vector<TEntrySection> Sections;
};

// Reads the text the way an INI file is read: lines end at CR LF, CR or LF; NUL ends the text;
// lines, names, keys and values are trimmed; empty lines, lines starting with ";" and lines before
// the first section are skipped; a line without "=" names no key. Section names and keys are
// compared without regard to letter case, and every lookup finds the first match. One pass keeps
// just what a list needs: a list file has a section per entry.
TListText ReadListText(std::string_view text)
{
    text = text.substr(0, text.find('\0'));
    enum class TSectionKind { None, General, Entry, Other };
    TSectionKind kind = TSectionKind::None;
    bool generalSeen = false;
    TListText read;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = LineEnd(text, start);
        const auto line = Trimmed(text.substr(start, end - start));
        start = end + (text.compare(end, LineBreak.size(), LineBreak) == 0 ? LineBreak.size() : 1);

        if (line.empty() || line.front() == ';')
            continue;
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            const auto name = Trimmed(line.substr(1, line.size() - 2));
            if (const auto index = SectionIndex(name)) {
                kind = TSectionKind::Entry;
                read.Sections.push_back({ {}, *index, false });
            } else if (!generalSeen && SameName(name, GeneralSection)) {
                kind = TSectionKind::General;
                generalSeen = true;
            } else {
                kind = TSectionKind::Other;
            }
            continue;
        }
        // Only the first line of the key that the section is read for counts.
        const bool wanted = (kind == TSectionKind::General && !read.Count)
            || (kind == TSectionKind::Entry && !read.Sections.back().HasName);
        if (!wanted)
            continue;
        const auto equals = line.find('=');
        if (equals == std::string_view::npos)
            continue;
        const auto key = Trimmed(line.substr(0, equals));
        const auto value = Trimmed(line.substr(equals + 1));
        if (kind == TSectionKind::General && SameName(key, CountKey)) {
            read.Count = value;
        } else if (kind == TSectionKind::Entry && SameName(key, NameKey)) {
            read.Sections.back().Name = value;
            read.Sections.back().HasName = true;
        }
    }
    return read;
}

// An entry's text as one line: the reader would stop at the first CR, LF or NUL anyway,
// and anything after it would become lines or sections of its own.
std::string_view SingleLine(std::string_view text)
{
    const auto end = std::find_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n' || c == '\0'; });
    return text.substr(0, static_cast<std::size_t>(end - text.begin()));
}

template <class TNumber> void AppendDecimal(std::string& out, TNumber number)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
    out.append(digits, end);
}

// FormatListFile over any sequence of texts.
template <class TEntries>
std::string FormatEntries(const TEntries& entries, TTextEncoding encoding, const TCodePage& ansi)
{
    // Sized first, the room for a mark included: a list file's text runs to tens of megabytes,
    // which growing would copy over and over.
    constexpr std::size_t LinesBeyondText = 48;
    std::size_t size = GeneralSection.size() + CountKey.size() + LinesBeyondText;
    std::size_t count = 0;
    for (const std::string_view entry : entries) {
        size += entry.size() + NameKey.size() + LinesBeyondText;
        ++count;
    }
    std::string text;
    text.reserve(size);

    text += '[';
    text += GeneralSection;
    text += "]\r\n";
    text += CountKey;
    text += '=';
    AppendDecimal(text, static_cast<int>(count));
    text += "\r\n\r\n";
    std::size_t index = 0;
    for (const std::string_view entry : entries) {
        text += '[';
        AppendDecimal(text, index++);
        text += "]\r\n";
        text += NameKey;
        text += '=';
        text += SingleLine(entry);
        text += "\r\n\r\n";
    }
    return EncodeText(std::move(text), encoding, ansi);
}

} // namespace

TListFileContent ParseListFile(std::string_view bytes, const TCodePage& ansi)
{
    // Random bytes hold a NUL early: what follows it is never decoded.
    const TDecodedText decoded(WithoutBytesAfterNul(bytes), ansi);
    auto read = ReadListText(decoded.Text());
    // -1 for a missing or unusable count, which no save writes.
    const int count = ParseWholeNumber(read.Count.value_or(""), -1);

    // Only the sections the file has are looked at, rather than every i below count, so a huge
    // "Computers" value cannot make reading take forever.
    auto& sections = read.Sections;
    std::erase_if(sections, [count](const TEntrySection& section) { return section.Index >= count; });
    const auto outOfOrder = [](const TEntrySection& a, const TEntrySection& b) { return a.Index >= b.Index; };
    if (std::adjacent_find(sections.begin(), sections.end(), outOfOrder) != sections.end()) {
        // A save writes them in order; otherwise the first section of each i is the one read.
        std::stable_sort(sections.begin(), sections.end(),
                         [](const TEntrySection& a, const TEntrySection& b) { return a.Index < b.Index; });
        const auto duplicates = std::unique(sections.begin(), sections.end(),
                                            [](const auto& a, const auto& b) { return a.Index == b.Index; });
        sections.erase(duplicates, sections.end());
    }

    TListFileContent content;
    content.Encoding = decoded.Encoding();
    content.Whole = count >= 0 && sections.size() == static_cast<std::size_t>(count)
        && std::all_of(sections.begin(), sections.end(), [](const TEntrySection& section) { return section.HasName; });
    std::size_t characters = 0;
    for (const auto& section : sections)
        characters += section.Name.size();
    content.Entries.Reserve(sections.size(), characters);
    for (const auto& section : sections)
        if (!section.Name.empty())
            content.Entries.Append(section.Name);
    return content;
}

std::string FormatListFile(const TPackedTexts& entries, TTextEncoding encoding, const TCodePage& ansi)
{
    return FormatEntries(entries, encoding, ansi);
}

std::string FormatListFile(std::span<const std::string_view> entries, TTextEncoding encoding, const TCodePage& ansi)
{
    return FormatEntries(entries, encoding, ansi);
}

void AppendStoredText(TPackedTexts& stored, std::string_view text)
{
    // What the reader makes of the "Name=" line that FormatListFile writes for the text: no header
    // or comment, as the line begins with the key, and the value trimmed like any. Trimming takes
    // only bytes below 0x21, which no UTF-8 sequence holds, so it may come before the repair.
    const auto value = Trimmed(SingleLine(text));
    if (value.empty())
        return;
    if (IsValidUtf8(value))
        stored.Append(value);
    else
        stored.Append(ValidUtf8(value));
}
