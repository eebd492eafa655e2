#include "platform/win32/BrowserEmulation.h"

#include "platform/windows/WindowsApi.h"

#include <memory>
#include <mutex>
#include <string>
#include <type_traits>

namespace {

constexpr wchar_t FeatureKey[]
    = L"Software\\Microsoft\\Internet Explorer\\Main\\FeatureControl\\FEATURE_BROWSER_EMULATION";

struct TCloseKey
{
    void operator()(HKEY key) const { RegCloseKey(key); }
};

// The name the engine looks the program up by: its file name without the folder.
std::wstring ProgramFileName()
{
    // The longest path Windows knows, with its terminating zero.
    std::wstring path(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    path.resize(length);
    return path.substr(path.find_last_of(L"\\/") + 1);
}

void WriteBrowserEmulation()
{
    const std::wstring program = ProgramFileName();
    if (program.empty())
        return;
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, FeatureKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                        &key, nullptr)
        != ERROR_SUCCESS)
        return;
    const std::unique_ptr<std::remove_pointer_t<HKEY>, TCloseKey> owner(key);
    const DWORD mode = CurrentBrowserEmulation;
    RegSetValueExW(key, program.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&mode), sizeof mode);
}

} // namespace

void UseCurrentBrowserEmulation()
{
    static std::once_flag written;
    std::call_once(written, WriteBrowserEmulation);
}
