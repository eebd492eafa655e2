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

bool HasValue(HKEY root, const std::wstring& name)
{
    return RegGetValueW(root, FeatureKey, name.c_str(), RRF_RT_ANY, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

} // namespace

void UseBrowserEmulationUnlessChosen(const std::wstring& program)
{
    // A value already there, the user's own or one an administrator set for the whole
    // machine, is someone's choice: it stays, and none is added beside it.
    if (program.empty() || HasValue(HKEY_CURRENT_USER, program) || HasValue(HKEY_LOCAL_MACHINE, program))
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

void UseCurrentBrowserEmulation()
{
    static std::once_flag written;
    std::call_once(written, [] { UseBrowserEmulationUnlessChosen(ProgramFileName()); });
}
