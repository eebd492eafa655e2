#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

class TCodePage;

// How a text file is stored, told by the byte-order mark at its start.
enum class TTextEncoding {
    // No mark: the system's code page.
    Ansi,
    Utf8,
    Utf16LE,
    Utf16BE,
};

// A file's text in UTF-8, decoded by the bytes' mark. Bytes that are UTF-8 already are read
// where they stand, as a list file runs to megabytes: they must outlive the text.
class TDecodedText
{
public:
    // Throws EOstrelError when bytes after a UTF-8 mark are not strictly valid UTF-8, or when
    // exactly one byte follows a UTF-16 mark.
    TDecodedText(std::string_view bytes, const TCodePage& ansi);
    TDecodedText(const TDecodedText&) = delete;
    TDecodedText& operator=(const TDecodedText&) = delete;

    std::string_view Text() const { return m_text; }
    TTextEncoding Encoding() const { return m_encoding; }

private:
    std::string m_converted;
    std::string_view m_text;
    TTextEncoding m_encoding = TTextEncoding::Ansi;
};

// Where the first NUL character of bytes, read by their mark, begins; none when they hold none.
// In UTF-8 and in every ANSI code page a zero byte is always NUL, never part of another character.
std::optional<std::size_t> FindNulCharacter(std::string_view bytes);

// bytes less what follows the NUL character that ends their text, where decoding it could
// change nothing. A file with the UTF-8 mark keeps every byte: an invalid sequence in it is an
// error wherever it stands.
std::string_view WithoutBytesAfterNul(std::string_view bytes);

// Whether text is UTF-8 by the strict rules: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view text);

// text with each invalid UTF-8 sequence replaced by U+FFFD, as every encoding writes it.
std::string ValidUtf8(std::string_view text);

// The file's bytes, mark first. Text in Ansi is written as UTF-8 with its mark when the code
// page is UTF-8 or lacks one of the text's characters, so no character is ever changed.
// Invalid UTF-8 in text is written as U+FFFD so the file always reads back.
std::string EncodeText(std::string text, TTextEncoding encoding, const TCodePage& ansi);
