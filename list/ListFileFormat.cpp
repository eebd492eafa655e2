#include "list/ListFileFormat.h"

#include "list/IniFile.h"

#include <charconv>
#include <map>
#include <optional>

namespace {

constexpr std::string_view GeneralSection = "General";
constexpr std::string_view CountKey = "Computers";
constexpr std::string_view NameKey = "Name";

// The section index that "[name]" stands for when name is i in plain decimal, as written.
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
    return text.substr(0, text.find_first_of(std::string_view("\r\n\0", 3)));
}

} // namespace

TListFileContent ParseListFile(std::string_view bytes, const TCodePage& ansi)
{
    auto decoded = DecodeText(bytes, ansi);
    const auto ini = TIniFile::Parse(decoded.Text);
    const int count = ini.ReadWholeNumber(GeneralSection, CountKey, 0);

    // Walks the sections the file has rather than every i below count, so a huge
    // "Computers" value cannot make reading take forever. Only the first section of
    // each name counts, as a lookup by name would find.
    std::map<int, std::string> byIndex;
    for (const auto& section : ini.Sections()) {
        const auto index = SectionIndex(section.Name);
        if (index && *index < count && !byIndex.contains(*index))
            byIndex.emplace(*index, ini.ReadText(section.Name, NameKey, ""));
    }

    TListFileContent content;
    content.Encoding = decoded.Encoding;
    for (auto& [index, text] : byIndex)
        if (!text.empty())
            content.Entries.push_back(std::move(text));
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
