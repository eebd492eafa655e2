#include "list/WholeNumber.h"

#include <cstdint>
#include <optional>

namespace {

std::optional<int> HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return std::nullopt;
}

std::string_view StripHexPrefix(std::string_view text, bool& isHex)
{
    for (std::string_view prefix : { "0x", "0X", "$", "x", "X" }) {
        if (text.starts_with(prefix)) {
            isHex = true;
            return text.substr(prefix.size());
        }
    }
    isHex = false;
    return text;
}

std::optional<std::uint32_t> ParseHexPattern(std::string_view digits)
{
    if (digits.empty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (char c : digits) {
        const auto digit = HexDigitValue(c);
        if (!digit)
            return std::nullopt;
        value = value * 16 + static_cast<std::uint64_t>(*digit);
        if (value > 0xFFFFFFFFu)
            return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

// The magnitude of a decimal number, up to 2^31 (the size of the most negative value).
std::optional<std::uint64_t> ParseDecimalMagnitude(std::string_view digits)
{
    if (digits.empty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
        if (value > 0x80000000u)
            return std::nullopt;
    }
    return value;
}

} // namespace

int ParseWholeNumber(std::string_view text, int defaultValue)
{
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }

    bool isHex = false;
    const auto digits = StripHexPrefix(text, isHex);
    if (isHex) {
        const auto pattern = ParseHexPattern(digits);
        if (!pattern)
            return defaultValue;
        // Negation works on the 32-bit pattern, so "-$80000000" stays the most negative value.
        return static_cast<int>(negative ? 0u - *pattern : *pattern);
    }

    const auto magnitude = ParseDecimalMagnitude(digits);
    if (!magnitude || (!negative && *magnitude > 0x7FFFFFFFu))
        return defaultValue;
    const auto value = static_cast<std::int64_t>(*magnitude);
    return static_cast<int>(negative ? -value : value);
}
