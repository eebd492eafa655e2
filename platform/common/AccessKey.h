#pragma once

#include <string>
#include <string_view>

// A menu caption with the toolkits' access-key marker "&" put before its first
// letter or digit (non-ASCII characters count as letters); an "&" already in the
// caption is doubled so that it shows as itself.
std::string WithAccessKey(std::string_view caption);
