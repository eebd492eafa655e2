#include "platform/windows/Win32Shell.h"

#include "platform/windows/WideText.h"
#include "platform/windows/WindowsApi.h"

#include <shellapi.h>

void TWin32Shell::OpenUrl(const std::string& url)
{
    // The outcome is of no interest: a missing browser is not the program's failure.
    ShellExecuteW(nullptr, L"open", Widen(url).c_str(), L"", L"", SW_SHOW);
}
