#pragma once

#include "platform/CodePage.h"

// A Windows code page: by default the system's ANSI page, which is Utf8 (65001) when the
// system is set to use UTF-8 for its single-byte texts.
class TWin32CodePage : public TCodePage
{
public:
    TWin32CodePage();
    explicit TWin32CodePage(unsigned number);

    unsigned Number() const override { return m_number; }
    std::string ToUtf8(std::string_view bytes) const override;
    std::optional<std::string> FromUtf8(std::string_view text) const override;

private:
    unsigned m_number;
};
