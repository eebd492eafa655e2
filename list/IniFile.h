#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// An INI text in memory: ordered sections of ordered lines. Section names and keys are
// compared without regard to letter case; every lookup finds the first match.
class TIniFile
{
public:
    // A key line (HasKey) or a line without "=", kept as Text.
    struct TLine
    {
        bool HasKey = false;
        std::string Key;
        // The value of a key line, or the whole text of a line without "=".
        std::string Text;
    };

    struct TSection
    {
        std::string Name;
        std::vector<TLine> Lines;
    };

    // Parses UTF-8 text: lines end at CR LF, CR or LF; NUL ends the text; lines are trimmed
    // of codes up to 0x20; empty lines and lines starting with ";" are skipped.
    static TIniFile Parse(std::string_view text);

    const std::vector<TSection>& Sections() const { return m_sections; }
    std::string ReadText(std::string_view section, std::string_view key, std::string_view defaultValue) const;
    int ReadWholeNumber(std::string_view section, std::string_view key, int defaultValue) const;
    void WriteText(std::string_view section, std::string_view key, std::string_view value);
    void WriteWholeNumber(std::string_view section, std::string_view key, int value);
    void Clear();
    // Each section as "[name]", its lines and an empty line, every line ending in CR LF.
    std::string Serialise() const;

private:
    TSection& AddSection(std::string_view name);
    // Index of the first section of that name.
    std::optional<std::size_t> FindSection(std::string_view name) const;

    std::vector<TSection> m_sections;
    // Sections by a key that letter case cannot change, so lookups compare few names.
    std::unordered_map<std::string, std::vector<std::size_t>> m_sectionsByCaseFreeKey;
};
