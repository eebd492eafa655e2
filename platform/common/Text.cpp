#include "platform/common/Text.h"

#include "platform/common/CaseFoldingTable.h"
#include "platform/common/Utf8.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

char32_t FoldCodePoint(char32_t code)
{
    const auto found = std::lower_bound(CaseFoldingTable.begin(), CaseFoldingTable.end(), code,
                                        [](const TCaseFolding& entry, char32_t wanted) { return entry.Code < wanted; });
    return found != CaseFoldingTable.end() && found->Code == code ? found->Folded : code;
}

char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr std::uint64_t LowBits = 0x0101010101010101u;
constexpr std::uint64_t HighBits = 0x8080808080808080u;

// The eight bytes of word, each below 0x80, with the letters A to Z lowered. Adding to a byte
// sets its high bit from 'A' up in the first sum and above 'Z' in the second; no byte carries.
std::uint64_t AsciiLowerWord(std::uint64_t word)
{
    const std::uint64_t fromA = word + LowBits * (0x80 - 'A');
    const std::uint64_t aboveZ = word + LowBits * (0x80 - 'Z' - 1);
    return word | (((fromA ^ aboveZ) & HighBits) >> 2);
}

// A hash of bytes taken eight at a time, the last word filled up with zeros; each word goes
// through prepare first.
template <class TPrepare> std::uint64_t HashWords(std::string_view bytes, TPrepare prepare)
{
    constexpr std::uint64_t Multiplier = 0x9E3779B97F4A7C15u;
    std::uint64_t hash = bytes.size();
    const auto mix = [&hash](std::uint64_t word) {
        hash = (hash ^ word) * Multiplier;
        hash ^= hash >> 32;
    };
    std::size_t at = 0;
    for (; at + 8 <= bytes.size(); at += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes.data() + at, 8);
        mix(prepare(word));
    }
    if (at < bytes.size()) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes.data() + at, bytes.size() - at);
        mix(prepare(word));
    }
    return hash;
}

bool IsAscii(std::string_view text)
{
    return NextNonAscii(text, 0) == text.size();
}

} // namespace

std::string FoldCase(std::string_view utf8)
{
    std::string folded;
    folded.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        // Addresses are nearly always ASCII, whose folding is plain lower case.
        if (static_cast<unsigned char>(utf8[at]) < 0x80) {
            folded += AsciiLower(utf8[at++]);
            continue;
        }
        if (const auto character = Utf8CharacterAt(utf8, at)) {
            AppendUtf8(folded, FoldCodePoint(character->Code));
            at += character->Length;
        } else
            folded += utf8[at++];
    }
    return folded;
}

std::size_t FoldedHash(std::string_view utf8)
{
    // Eight bytes at a time, as a flood of replies hashes every address it brings: ASCII is
    // lowered in place, and any other text hashes its folding.
    std::uint64_t seen = 0;
    const std::uint64_t hash = HashWords(utf8, [&seen](std::uint64_t word) {
        seen |= word;
        return AsciiLowerWord(word);
    });
    if ((seen & HighBits) == 0)
        return static_cast<std::size_t>(hash);
    return static_cast<std::size_t>(HashWords(FoldCase(utf8), [](std::uint64_t word) { return word; }));
}

bool SameText(std::string_view a, std::string_view b)
{
    // Two ASCII texts, the usual case, compare in place without building their foldings.
    if (IsAscii(a) && IsAscii(b))
        return a.size() == b.size()
            && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
    return FoldCase(a) == FoldCase(b);
}
