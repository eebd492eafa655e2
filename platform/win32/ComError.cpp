#include "platform/win32/ComError.h"

#include "platform/OstrelError.h"
#include "platform/windows/WideText.h"

#include <cstdio>
#include <cwctype>

namespace {

// The system's description of a code, without the full stop and line break it ends with;
// empty for codes the system has no text for (most of the web engine's own).
std::string SystemDescription(HRESULT result)
{
    wchar_t text[512] = {};
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                        static_cast<DWORD>(result), 0, text, 512, nullptr);
    std::wstring_view description(text, length);
    while (!description.empty() && (description.back() == L'.' || std::iswspace(description.back())))
        description.remove_suffix(1);
    return Narrow(description);
}

} // namespace

std::string ComErrorText(std::string_view what, HRESULT result)
{
    char code[16] = {};
    std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(result));
    const std::string description = SystemDescription(result);
    std::string text(what);
    if (!description.empty())
        text += ": " + description;
    return text + " (" + code + ")";
}

void ThrowIfFailed(HRESULT result, std::string_view what)
{
    if (FAILED(result))
        throw EOstrelError(ComErrorText(what, result));
}
