#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// text without the leading and trailing codes up to 0x20 that the parser trims from lines,
// keys and values.
std::string_view TrimIniText(std::string_view text);

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
    // The value of key in section; none when there is no such line.
    std::optional<std::string> FindText(std::string_view section, std::string_view key) const;
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
    // Sections by the hash of a key that letter case cannot change, so lookups compare few
    // names: an open-addressing table of each hash's first and last section, and for every
    // section the next with its hash. Flat, because a list file has a section per entry.
    struct TChain
    {
        std::uint64_t Hash = 0;
        std::size_t First = NoSection;
        std::size_t Last = NoSection;
    };
    static constexpr std::size_t NoSection = static_cast<std::size_t>(-1);
    // The chain of hash, made empty when there is none yet.
    TChain& ChainOf(std::uint64_t hash);
    // The slot holding hash's chain, or the free slot where it would go.
    std::size_t SlotOf(std::uint64_t hash) const;

    std::vector<TChain> m_chains;
    std::size_t m_usedChains = 0;
    std::vector<std::size_t> m_nextWithSameKey;
};
