#include "list/TextCodec.h"

#include "platform/CodePage.h"
#include "platform/common/Utf8.h"
#include "platform/OstrelError.h"

#include <cstdint>

namespace {

constexpr std::string_view Utf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view Utf16LEMark = "\xFF\xFE";
constexpr std::string_view Utf16BEMark = "\xFE\xFF";
constexpr char32_t ReplacementCharacter = 0xFFFD;

std::uint8_t Byte(std::string_view bytes, std::size_t at)
{
    return static_cast<std::uint8_t>(bytes[at]);
}

// One UTF-8 sequence at the start of bytes, by the strict rules: no overlong forms, no
// surrogates, nothing above U+10FFFF. Length is the bytes taken; for an invalid sequence
// Valid is false and Length covers its longest valid-looking start (at least one byte).
struct TUtf8Sequence
{
    char32_t CodePoint = 0;
    std::size_t Length = 1;
    bool Valid = false;
};

TUtf8Sequence ReadUtf8Sequence(std::string_view bytes)
{
    const std::uint8_t lead = Byte(bytes, 0);
    if (lead < 0x80)
        return { lead, 1, true };

    std::size_t length = 0;
    char32_t codePoint = 0;
    std::uint8_t secondMin = 0x80;
    std::uint8_t secondMax = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0Fu;
        secondMin = lead == 0xE0 ? 0xA0 : 0x80;
        secondMax = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07u;
        secondMin = lead == 0xF0 ? 0x90 : 0x80;
        secondMax = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return {};
    }

    for (std::size_t i = 1; i < length; ++i) {
        if (i >= bytes.size())
            return { 0, i, false };
        const std::uint8_t next = Byte(bytes, i);
        const std::uint8_t min = i == 1 ? secondMin : 0x80;
        const std::uint8_t max = i == 1 ? secondMax : 0xBF;
        if (next < min || next > max)
            return { 0, i, false };
        codePoint = (codePoint << 6) | (next & 0x3Fu);
    }
    return { codePoint, length, true };
}

[[noreturn]] void ThrowNoMapping()
{
    throw EOstrelError("No mapping for the Unicode character exists in the target multi-byte code page");
}

// Calls emit for each code point of bytes; each invalid sequence becomes one U+FFFD.
template <class TEmit> void ForEachCodePoint(std::string_view bytes, TEmit emit)
{
    std::size_t at = 0;
    while (at < bytes.size()) {
        const auto sequence = ReadUtf8Sequence(bytes.substr(at));
        emit(sequence.Valid ? sequence.CodePoint : ReplacementCharacter);
        at += sequence.Length;
    }
}

std::string DecodeUtf16(std::string_view bytes, bool bigEndian)
{
    if (bytes.size() == 1)
        ThrowNoMapping();
    const auto unitAt = [&](std::size_t at) {
        const auto first = Byte(bytes, at);
        const auto second = Byte(bytes, at + 1);
        return static_cast<char32_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    };
    // An odd last byte is ignored.
    const std::size_t units = bytes.size() / 2;
    std::string out;
    out.reserve(units);
    for (std::size_t i = 0; i < units; ++i) {
        const char32_t unit = unitAt(2 * i);
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units) {
            const char32_t low = unitAt(2 * (i + 1));
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        // UTF-8 cannot hold a lone surrogate.
        AppendUtf8(out, unit >= 0xD800 && unit <= 0xDFFF ? ReplacementCharacter : unit);
    }
    return out;
}

void AppendUtf16Unit(std::string& out, char32_t unit, bool bigEndian)
{
    const auto high = static_cast<char>(unit >> 8);
    const auto low = static_cast<char>(unit & 0xFF);
    out += bigEndian ? high : low;
    out += bigEndian ? low : high;
}

std::string EncodeUtf16(std::string_view text, bool bigEndian)
{
    std::string out(bigEndian ? Utf16BEMark : Utf16LEMark);
    out.reserve(out.size() + 2 * text.size());
    ForEachCodePoint(text, [&](char32_t c) {
        if (c < 0x10000) {
            AppendUtf16Unit(out, c, bigEndian);
        } else {
            AppendUtf16Unit(out, 0xD800 + ((c - 0x10000) >> 10), bigEndian);
            AppendUtf16Unit(out, 0xDC00 + ((c - 0x10000) & 0x3FF), bigEndian);
        }
    });
    return out;
}

// Appends text with each invalid UTF-8 sequence replaced by U+FFFD.
void AppendValidUtf8(std::string& out, std::string_view text)
{
    if (IsValidUtf8(text))
        out += text;
    else
        ForEachCodePoint(text, [&](char32_t c) { AppendUtf8(out, c); });
}

std::string EncodeUtf8(std::string_view text)
{
    // Built in place: the text of a list file runs to megabytes.
    std::string out;
    out.reserve(Utf8Mark.size() + text.size());
    out += Utf8Mark;
    AppendValidUtf8(out, text);
    return out;
}

} // namespace

bool IsValidUtf8(std::string_view text)
{
    for (std::size_t at = NextNonAscii(text, 0); at < text.size(); at = NextNonAscii(text, at)) {
        const auto sequence = ReadUtf8Sequence(text.substr(at));
        if (!sequence.Valid)
            return false;
        at += sequence.Length;
    }
    return true;
}

std::string ValidUtf8(std::string_view text)
{
    std::string out;
    AppendValidUtf8(out, text);
    return out;
}

TDecodedText::TDecodedText(std::string_view bytes, const TCodePage& ansi)
{
    if (bytes.starts_with(Utf8Mark)) {
        m_text = bytes.substr(Utf8Mark.size());
        m_encoding = TTextEncoding::Utf8;
        if (!IsValidUtf8(m_text))
            ThrowNoMapping();
        return;
    }
    if (bytes.starts_with(Utf16LEMark)) {
        m_converted = DecodeUtf16(bytes.substr(Utf16LEMark.size()), false);
        m_encoding = TTextEncoding::Utf16LE;
    } else if (bytes.starts_with(Utf16BEMark)) {
        m_converted = DecodeUtf16(bytes.substr(Utf16BEMark.size()), true);
        m_encoding = TTextEncoding::Utf16BE;
    } else if (ansi.Number() == TCodePage::Utf8 && IsValidUtf8(bytes)) {
        m_text = bytes;
        return;
    } else {
        m_converted = ansi.ToUtf8(bytes);
    }
    m_text = m_converted;
}

std::optional<std::size_t> FindNulCharacter(std::string_view bytes)
{
    if (bytes.starts_with(Utf16LEMark) || bytes.starts_with(Utf16BEMark)) {
        for (std::size_t at = Utf16LEMark.size(); at + 1 < bytes.size(); at += 2)
            if (bytes[at] == '\0' && bytes[at + 1] == '\0')
                return at;
        return std::nullopt;
    }
    const auto at = bytes.find('\0');
    return at == std::string_view::npos ? std::nullopt : std::optional(at);
}

std::string_view WithoutBytesAfterNul(std::string_view bytes)
{
    if (bytes.starts_with(Utf8Mark))
        return bytes;
    const auto end = FindNulCharacter(bytes);
    return end ? bytes.substr(0, *end) : bytes;
}

std::string EncodeText(std::string text, TTextEncoding encoding, const TCodePage& ansi)
{
    const bool utf8
        = encoding == TTextEncoding::Utf8 || (encoding == TTextEncoding::Ansi && ansi.Number() == TCodePage::Utf8);
    if (utf8 && IsValidUtf8(text)) {
        // The text becomes the bytes where it stands: a list file's text runs to megabytes.
        text.insert(0, Utf8Mark);
        return text;
    }
    switch (encoding) {
    case TTextEncoding::Utf8:
        return EncodeUtf8(text);
    case TTextEncoding::Utf16LE:
        return EncodeUtf16(text, false);
    case TTextEncoding::Utf16BE:
        return EncodeUtf16(text, true);
    case TTextEncoding::Ansi:
        break;
    }
    if (ansi.Number() != TCodePage::Utf8) {
        if (auto bytes = ansi.FromUtf8(ValidUtf8(text)))
            return std::move(*bytes);
    }
    return EncodeUtf8(text);
}
