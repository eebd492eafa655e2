#include "platform/common/Text.h"

#include "platform/common/CaseFoldingTable.h"
#include "platform/common/Utf8.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

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
    // FNV-1a over the folded bytes.
    const auto hash = [](std::string_view folded, auto fold) {
        std::uint64_t value = 14695981039346656037u;
        for (const char c : folded)
            value = (value ^ static_cast<unsigned char>(fold(c))) * 1099511628211u;
        return static_cast<std::size_t>(value);
    };
    if (IsAscii(utf8))
        return hash(utf8, AsciiLower);
    return hash(FoldCase(utf8), [](char c) { return c; });
}

bool SameText(std::string_view a, std::string_view b)
{
    // Two ASCII texts, the usual case, compare in place without building their foldings.
    if (IsAscii(a) && IsAscii(b))
        return a.size() == b.size()
            && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
    return FoldCase(a) == FoldCase(b);
}
