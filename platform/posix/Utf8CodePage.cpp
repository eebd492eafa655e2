#include "platform/posix/Utf8CodePage.h"

#include "platform/common/Utf8.h"

namespace {

constexpr std::string_view Replacement = "\xEF\xBF\xBD"; // U+FFFD

// Where the first byte at or after from that starts no well-formed character is, or npos.
std::size_t NextMalformed(std::string_view bytes, std::size_t from)
{
    for (std::size_t at = NextNonAscii(bytes, from); at < bytes.size(); at = NextNonAscii(bytes, at)) {
        const auto character = Utf8CharacterAt(bytes, at);
        if (!character)
            return at;
        at += character->Length;
    }
    return std::string_view::npos;
}

} // namespace

std::string TUtf8CodePage::ToUtf8(std::string_view bytes) const
{
    // Every byte that starts no character becomes U+FFFD, and reading goes on at the next byte.
    // Counted first, so the text is made at its final size: a list file of any bytes needs no
    // more memory than itself and its text.
    std::size_t malformed = 0;
    for (auto at = NextMalformed(bytes, 0); at != std::string_view::npos; at = NextMalformed(bytes, at + 1))
        ++malformed;
    if (malformed == 0)
        return std::string(bytes);

    std::string text;
    text.reserve(bytes.size() + malformed * (Replacement.size() - 1));
    std::size_t copied = 0;
    for (auto at = NextMalformed(bytes, 0); at != std::string_view::npos; at = NextMalformed(bytes, at + 1)) {
        text.append(bytes, copied, at - copied);
        text += Replacement;
        copied = at + 1;
    }
    text.append(bytes, copied);
    return text;
}
