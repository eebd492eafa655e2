#pragma once

#include <QString>
#include <string_view>

// The core holds text as UTF-8; Qt holds it as UTF-16.
inline QString ToQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
