#include "platform/windows/WideText.h"

#include "platform/windows/WindowsApi.h"

#include <limits>
#include <stdexcept>
#include <system_error>

namespace {

int CheckedLength(std::size_t length)
{
    if (length > static_cast<std::size_t>(std::numeric_limits<int>::max()))
        throw std::length_error("text too long to convert");
    return static_cast<int>(length);
}

[[noreturn]] void ThrowLastError(const char* what)
{
    throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), what);
}

} // namespace

std::wstring ToWide(unsigned codePage, std::string_view bytes)
{
    if (bytes.empty())
        return {};
    const int length = CheckedLength(bytes.size());
    const int needed = MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
    if (needed == 0)
        ThrowLastError("MultiByteToWideChar");
    std::wstring text(static_cast<std::size_t>(needed), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), length, text.data(), needed);
    return text;
}

std::string FromWide(unsigned codePage, std::wstring_view text)
{
    if (text.empty())
        return {};
    const int length = CheckedLength(text.size());
    const int needed = WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (needed == 0)
        ThrowLastError("WideCharToMultiByte");
    std::string bytes(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), length, bytes.data(), needed, nullptr, nullptr);
    return bytes;
}

std::wstring Widen(std::string_view utf8)
{
    return ToWide(CP_UTF8, utf8);
}

std::string Narrow(std::wstring_view utf16)
{
    return FromWide(CP_UTF8, utf16);
}
