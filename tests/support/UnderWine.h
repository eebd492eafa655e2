#pragma once

#include "platform/windows/WindowsApi.h"

// True when a Windows test program runs under Wine: Wine's ntdll tells its version, that of
// Windows has no such export. Checks that only real Windows can show skip on it.
inline bool UnderWine()
{
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}
