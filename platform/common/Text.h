#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The UTF-8 text with every character replaced by its simple Unicode case folding
// ("BÜRO" and "büro" both give "büro"). Bytes that are not valid UTF-8 stay as
// they are, so texts that differ in them stay different.
std::string FoldCase(std::string_view utf8);

// A hash of FoldCase(utf8), so texts equal without regard to letter case share it. ASCII text,
// the usual case, is hashed without building its folding.
std::size_t FoldedHash(std::string_view utf8);

// True when the two UTF-8 texts are equal without regard to letter case:
// FoldCase(a) == FoldCase(b).
bool SameText(std::string_view a, std::string_view b);
