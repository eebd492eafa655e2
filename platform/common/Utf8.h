#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// One well-formed UTF-8 character: its code point and how many bytes it takes.
struct TUtf8Character
{
    char32_t Code = 0;
    std::size_t Length = 0;
};

// The character that starts at text[at], or none when the bytes there are not well-formed
// UTF-8 (overlong forms, surrogates and code points past U+10FFFF included).
std::optional<TUtf8Character> Utf8CharacterAt(std::string_view text, std::size_t at);

// Where the first byte at or after from that is not ASCII stands, or text.size() when there is none.
std::size_t NextNonAscii(std::string_view text, std::size_t from);

// Appends code, a Unicode scalar value, in UTF-8.
void AppendUtf8(std::string& out, char32_t code);
