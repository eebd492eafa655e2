#include "platform/Text.h"

#include "platform/CaseFoldingTable.h"

#include <algorithm>
#include <cstddef>
#include <optional>

namespace {

struct TDecoded
{
    char32_t Code;
    std::size_t Length;
};

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// The character that starts at text[at], or none when the bytes there are not well-formed
// UTF-8 (overlong forms, surrogates and code points past U+10FFFF included).
std::optional<TDecoded> DecodeAt(std::string_view text, std::size_t at)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length = 0;
    char32_t code = 0;
    char32_t smallest = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1F;
        smallest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0F;
        smallest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07;
        smallest = 0x10000;
    } else
        return std::nullopt;
    if (text.size() - at < length)
        return std::nullopt;
    for (std::size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[at + i]);
        if (!IsContinuation(byte))
            return std::nullopt;
        code = (code << 6) | (byte & 0x3F);
    }
    if (code < smallest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return std::nullopt;
    return TDecoded { code, length };
}

void AppendUtf8(std::string& out, char32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

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
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
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
        if (const auto decoded = DecodeAt(utf8, at)) {
            AppendUtf8(folded, FoldCodePoint(decoded->Code));
            at += decoded->Length;
        } else
            folded += utf8[at++];
    }
    return folded;
}

bool SameText(std::string_view a, std::string_view b)
{
    // Two ASCII texts, the usual case, compare in place without building their foldings.
    if (IsAscii(a) && IsAscii(b))
        return a.size() == b.size()
            && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
    return FoldCase(a) == FoldCase(b);
}
