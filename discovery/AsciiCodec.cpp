#include "discovery/AsciiCodec.h"

namespace {

constexpr std::uint8_t Unmappable = '?';
constexpr std::string_view ReplacementCharacter = "\xEF\xBF\xBD";

// How many bytes a UTF-8 sequence starting with lead takes, or 0 for a byte that starts none.
std::size_t SequenceLength(std::uint8_t lead)
{
    if (lead < 0x80)
        return 1;
    if ((lead & 0xE0) == 0xC0)
        return 2;
    if ((lead & 0xF0) == 0xE0)
        return 3;
    if ((lead & 0xF8) == 0xF0)
        return 4;
    return 0;
}

} // namespace

std::vector<std::uint8_t> EncodeAscii(std::string_view text)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(text.size());
    std::size_t at = 0;
    while (at < text.size()) {
        const auto lead = static_cast<std::uint8_t>(text[at]);
        std::size_t length = SequenceLength(lead);
        bool complete = length != 0 && at + length <= text.size();
        for (std::size_t i = 1; complete && i < length; ++i)
            complete = (static_cast<std::uint8_t>(text[at + i]) & 0xC0) == 0x80;
        if (!complete) {
            bytes.push_back(Unmappable);
            ++at;
            continue;
        }
        if (length == 1)
            bytes.push_back(lead);
        else
            bytes.insert(bytes.end(), length == 4 ? 2 : 1, Unmappable);
        at += length;
    }
    return bytes;
}

std::string DecodeAscii(std::span<const std::uint8_t> bytes)
{
    std::string text;
    text.reserve(bytes.size());
    for (const auto byte : bytes) {
        if (byte <= 0x7F)
            text.push_back(static_cast<char>(byte));
        else
            text.append(ReplacementCharacter);
    }
    return text;
}
