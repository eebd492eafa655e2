#pragma once

#include <optional>
#include <string>
#include <string_view>

// The system's single-text code page (the Windows "ANSI" page) in which files without
// a byte-order mark are read and written.
class TCodePage
{
public:
    static constexpr unsigned Utf8 = 65001;

    virtual ~TCodePage() = default;
    // The code page's number; Utf8 when the page is UTF-8 itself.
    virtual unsigned Number() const = 0;
    // Bytes of this page as UTF-8 text; never fails (bytes without a meaning get a stand-in).
    virtual std::string ToUtf8(std::string_view bytes) const = 0;
    // UTF-8 text as bytes of this page; empty when a character has no place in it.
    virtual std::optional<std::string> FromUtf8(std::string_view text) const = 0;
};
