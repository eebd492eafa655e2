#include "platform/windows/TemporaryFile.h"

#include "platform/windows/OlderWindows.h"
#include "platform/windows/ShareModes.h"

#include <algorithm>
#include <atomic>

namespace {

constexpr std::wstring_view Extension = L".tmp";
constexpr DWORD MoveRetryMs = 50;

// Where the target's file name begins: its folder, separator included, comes before.
std::size_t NameStart(const std::wstring& target)
{
    const auto separator = target.find_last_of(L"\\/");
    return separator == std::wstring::npos ? 0 : separator + 1;
}

bool IsNumber(std::wstring_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

// True when fileName is exactly "<targetName>.<process>.<serial>.tmp", so that no file of
// another kind or of another target is ever taken for a leftover.
bool IsTemporaryFileOf(std::wstring_view targetName, std::wstring_view fileName)
{
    if (!fileName.starts_with(targetName) || !fileName.ends_with(Extension))
        return false;
    fileName.remove_prefix(targetName.size());
    fileName.remove_suffix(Extension.size());
    if (!fileName.starts_with(L'.'))
        return false;
    fileName.remove_prefix(1);
    const auto dot = fileName.find(L'.');
    return dot != std::wstring_view::npos && IsNumber(fileName.substr(0, dot)) && IsNumber(fileName.substr(dot + 1));
}

} // namespace

std::wstring TemporaryFileName(const std::wstring& target, DWORD processId, unsigned serial)
{
    return target + L"." + std::to_wstring(processId) + L"." + std::to_wstring(serial) + std::wstring(Extension);
}

void RemoveLeftoverTemporaryFiles(const std::wstring& target)
{
    const std::wstring folder = target.substr(0, NameStart(target));
    const std::wstring name = target.substr(NameStart(target));
    WIN32_FIND_DATAW found;
    // The long name is checked below, because the pattern may also match a short name.
    const TUniqueFind search(FindFirstByName(target + L".*" + std::wstring(Extension), found));
    if (!search)
        return;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !IsTemporaryFileOf(name, found.cFileName))
            continue;
        // Opening without sharing fails while the save that made the file has it open;
        // a file that opens belongs to a save that ended without moving it, and goes.
        TUniqueHandle(CreateFileW((folder + found.cFileName).c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    } while (FindNextFileW(search.Get(), &found));
}

TTemporaryFile::TTemporaryFile(const std::wstring& target)
{
    static std::atomic<unsigned> serial = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        m_path = TemporaryFileName(target, GetCurrentProcessId(), serial++);
        // The file stays open until it has been renamed: closed any earlier, another copy's
        // save could take it for a leftover and remove it.
        m_file = TUniqueHandle(CreateFileW(m_path.c_str(), GENERIC_WRITE, ShareModes::Writing, nullptr, CREATE_NEW,
                                           FILE_ATTRIBUTE_NORMAL, nullptr));
        m_error = m_file ? 0 : GetLastError();
        if (m_error != ERROR_FILE_EXISTS)
            break;
    }
}

TTemporaryFile::~TTemporaryFile()
{
    // The file is removed once this object's handle, the last one open, is closed.
    if (m_file && !m_moved)
        DeleteFileW(m_path.c_str());
}

DWORD TTemporaryFile::Write(std::string_view bytes)
{
    // WriteFile takes at most a DWORD's worth at once; smaller pieces keep each call short.
    constexpr std::size_t Piece = 1 << 20;
    while (!bytes.empty()) {
        DWORD written = 0;
        const auto size = static_cast<DWORD>(std::min(bytes.size(), Piece));
        if (!WriteFile(m_file.Get(), bytes.data(), size, &written, nullptr))
            return GetLastError();
        if (written == 0)
            return ERROR_DISK_FULL;
        bytes.remove_prefix(written);
    }
    return FlushFileBuffers(m_file.Get()) ? 0 : GetLastError();
}

DWORD TTemporaryFile::MoveTo(const std::wstring& target)
{
    // A virus scanner or backup program opens a freshly written file for a moment without
    // sharing its deletion, and MoveFileExW then fails with a sharing violation or "access
    // denied"; the save waits for it to let go, a short while.
    const ULONGLONG deadline = GetTickCount64() + MoveWaitMs;
    for (;;) {
        if (MoveFileExW(m_path.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            m_moved = true;
            return 0;
        }
        const DWORD error = GetLastError();
        if ((error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED) || GetTickCount64() >= deadline)
            return error;
        Sleep(MoveRetryMs);
    }
}
