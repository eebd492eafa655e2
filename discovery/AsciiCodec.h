#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// US-ASCII, one byte per character, as the discovery protocol speaks it.

// Each UTF-16 code unit of the UTF-8 text up to 0x7F becomes that byte, every
// other one "?" (so a character outside the BMP gives two). Malformed UTF-8
// bytes count as one unit each.
std::vector<std::uint8_t> EncodeAscii(std::string_view text);

// Each byte up to 0x7F becomes that character, every other byte U+FFFD; the result is UTF-8.
std::string DecodeAscii(std::span<const std::uint8_t> bytes);
