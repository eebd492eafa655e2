#include "platform/Text.h"

#include <algorithm>
#include <QString>

namespace {

bool IsAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

bool SameText(std::string_view a, std::string_view b)
{
    // Discovered addresses are nearly always ASCII, and a merge compares against every
    // entry: for two ASCII texts, Unicode case folding and ASCII folding agree.
    if (IsAscii(a) && IsAscii(b))
        return a.size() == b.size()
            && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
    // Qt compares by Unicode case folding, code point by code point.
    const auto left = QString::fromUtf8(a.data(), static_cast<qsizetype>(a.size()));
    const auto right = QString::fromUtf8(b.data(), static_cast<qsizetype>(b.size()));
    return left.compare(right, Qt::CaseInsensitive) == 0;
}
