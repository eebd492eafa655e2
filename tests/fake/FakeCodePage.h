#pragma once

#include "platform/CodePage.h"

// A single-byte code page whose bytes are the first 256 Unicode characters (ISO 8859-1),
// so tests can meet characters that a code page lacks.
class TFakeCodePage : public TCodePage
{
public:
    static constexpr unsigned Latin1 = 28591;

    unsigned Number() const override { return Latin1; }
    std::string ToUtf8(std::string_view bytes) const override;
    std::optional<std::string> FromUtf8(std::string_view text) const override;
};
