#include "platform/Text.h"

#include <QString>

bool SameText(std::string_view a, std::string_view b)
{
    // Qt compares by Unicode case folding, code point by code point.
    const auto left = QString::fromUtf8(a.data(), static_cast<qsizetype>(a.size()));
    const auto right = QString::fromUtf8(b.data(), static_cast<qsizetype>(b.size()));
    return left.compare(right, Qt::CaseInsensitive) == 0;
}
