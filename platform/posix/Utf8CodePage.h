#pragma once

#include "platform/CodePage.h"

// The code page of a system whose texts are UTF-8.
class TUtf8CodePage : public TCodePage
{
public:
    unsigned Number() const override { return Utf8; }
    std::string ToUtf8(std::string_view bytes) const override;
    std::optional<std::string> FromUtf8(std::string_view text) const override { return std::string(text); }
};
