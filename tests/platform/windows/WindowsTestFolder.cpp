#include "WindowsTestFolder.h"

#include "ContractPaths.h"
#include "platform/windows/WideText.h"

#include <algorithm>
#include <atomic>
#include <filesystem>

TWindowsTestFolder::TWindowsTestFolder()
{
    static std::atomic<unsigned> serial = 0;
    wchar_t temporary[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temporary);
    const std::wstring folder = std::wstring(temporary) + L"ostrel-windows-" + std::to_wstring(GetCurrentProcessId())
        + L"-" + std::to_wstring(serial++);
    CreateDirectoryW(folder.c_str(), nullptr);
    m_path = Narrow(folder);
}

TWindowsTestFolder::~TWindowsTestFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(FsPath(m_path), ignored);
}

std::string TWindowsTestFolder::In(const std::string& name) const
{
    return m_path + "\\" + name;
}

std::vector<std::string> TWindowsTestFolder::Entries() const
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(FsPath(m_path)))
        names.push_back(Utf8(entry.path().filename()));
    std::sort(names.begin(), names.end());
    return names;
}
