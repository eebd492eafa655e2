#pragma once

#include <span>

struct TCaseFolding
{
    char32_t Code;
    char32_t Folded;
};

// Unicode's simple case folding, one code point to one, sorted by Code; code
// points not listed fold to themselves.
extern const std::span<const TCaseFolding> CaseFoldingTable;
