#include "platform/windows/Win32CodePage.h"

#include "platform/windows/WideText.h"
#include "platform/windows/WindowsApi.h"

TWin32CodePage::TWin32CodePage()
    : m_number(GetACP())
{ }

TWin32CodePage::TWin32CodePage(unsigned number)
    : m_number(number)
{ }

std::string TWin32CodePage::ToUtf8(std::string_view bytes) const
{
    return Narrow(ToWide(m_number, bytes));
}

std::optional<std::string> TWin32CodePage::FromUtf8(std::string_view text) const
{
    const std::wstring wide = Widen(text);
    std::string bytes = FromWide(m_number, wide);
    // Only a text the page holds comes back unchanged. A missing character becomes the page's
    // default character, Windows may put a look-alike in its place ("best fit"), and some pages
    // give two characters the same bytes: each of these would change the text on the next load.
    if (ToWide(m_number, bytes) != wide)
        return std::nullopt;
    return bytes;
}
