#pragma once

#include <string>
#include <string_view>

// The program holds text as UTF-8; Windows takes UTF-16. These convert at that edge, and
// between UTF-16 and a code page's bytes. Malformed input becomes the page's stand-in
// character (U+FFFD for UTF-8); a text too long for the API's int counts throws.
std::wstring ToWide(unsigned codePage, std::string_view bytes);
std::string FromWide(unsigned codePage, std::wstring_view text);

// UTF-8 to UTF-16 and back.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);
