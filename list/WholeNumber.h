#pragma once

#include <string_view>

// The list file's whole numbers: an optional sign, then decimal digits within the signed
// 32-bit range, or a hexadecimal prefix ("0x", "0X", "$", "x", "X") and at least one hex
// digit, read as a 32-bit pattern of at most FFFFFFFF. Anything else gives defaultValue.
int ParseWholeNumber(std::string_view text, int defaultValue);
