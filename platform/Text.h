#pragma once

#include <string_view>

// True when the two UTF-8 texts are equal without regard to letter case, by the
// Unicode case rules rather than ASCII alone ("BÜRO" equals "büro").
bool SameText(std::string_view a, std::string_view b);
