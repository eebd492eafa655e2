#include "list/ListFileFormat.h"

#include "list/IniFile.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace {

constexpr std::string_view GeneralSection = "General";
constexpr std::string_view CountKey = "Computers";
constexpr std::string_view NameKey = "Name";

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

// An entry's text as one line: the reader would stop at the first CR, LF or NUL anyway,
// and anything after it would become lines or sections of its own.
std::string_view SingleLine(std::string_view text)
{
    const auto end = std::find_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n' || c == '\0'; });
    return text.substr(0, static_cast<std::size_t>(end - text.begin()));
}

} // namespace

TListFileContent ParseListFile(std::string_view bytes, const TCodePage& ansi)
{
    // Random bytes hold a NUL early: what follows it is never decoded.
    auto decoded = DecodeText(WithoutBytesAfterNul(bytes), ansi);
    const auto ini = TIniFile::Parse(decoded.Text);
    // -1 for a missing or unusable count, which no save writes.
    const int count = ini.ReadWholeNumber(GeneralSection, CountKey, -1);

    // Walks the sections the file has rather than every i below count, so a huge
    // "Computers" value cannot make reading take forever.
    std::vector<int> indexes;
    for (const auto& section : ini.Sections())
        if (const auto index = SectionIndex(section.Name); index && *index < count)
            indexes.push_back(*index);
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());

    TListFileContent content;
    content.Encoding = decoded.Encoding;
    content.Whole = count >= 0 && indexes.size() == static_cast<std::size_t>(count);
    for (const int index : indexes) {
        auto text = ini.FindText(std::to_string(index), NameKey);
        content.Whole = content.Whole && text;
        if (text && !text->empty())
            content.Entries.push_back(std::move(*text));
    }
    return content;
}

std::string FormatListFile(const std::vector<std::string>& entries, TTextEncoding encoding, const TCodePage& ansi)
{
    TIniFile ini;
    ini.WriteWholeNumber(GeneralSection, CountKey, static_cast<int>(entries.size()));
    for (std::size_t i = 0; i < entries.size(); ++i)
        ini.WriteText(std::to_string(i), NameKey, SingleLine(entries[i]));
    return EncodeText(ini.Serialise(), encoding, ansi);
}

std::vector<std::string> StoredTexts(const std::vector<std::string>& texts)
{
    // What the reader makes of the "Name=" line that FormatListFile writes for each text: no
    // header or comment, as the line begins with the key, and the value trimmed like any.
    std::vector<std::string> stored;
    stored.reserve(texts.size());
    for (const auto& text : texts) {
        const std::string valid = ValidUtf8(SingleLine(text));
        if (const auto value = TrimIniText(valid); !value.empty())
            stored.emplace_back(value);
    }
    return stored;
}
