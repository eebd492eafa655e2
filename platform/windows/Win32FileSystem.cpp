#include "platform/windows/Win32FileSystem.h"

#include "platform/windows/SaveFolder.h"
#include "platform/windows/SaveLock.h"
#include "platform/windows/SharedFolder.h"
#include "platform/windows/ShareModes.h"
#include "platform/windows/TemporaryFile.h"
#include "platform/windows/UniqueHandle.h"
#include "platform/windows/WideText.h"
#include "platform/windows/Win32CodePage.h"

#include <algorithm>
#include <memory>
#include <shlobj.h>

namespace {

// Errors that say nothing is at the path; any other failure to look leaves it counted as there.
bool MeansMissing(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_NOT_READY:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
        return true;
    default:
        return false;
    }
}

// Windows refuses to replace a file that anyone has open, whatever its share mode, with
// "access denied", which would send the user looking for a rights problem. An open that
// shares nothing fails on exactly that, so it tells the sharing conflict apart.
DWORD ReplaceError(DWORD error, const std::wstring& target)
{
    if (error != ERROR_ACCESS_DENIED)
        return error;
    const TUniqueHandle probe(
        CreateFileW(target.c_str(), DELETE, 0, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return !probe && GetLastError() == ERROR_SHARING_VIOLATION ? ERROR_SHARING_VIOLATION : error;
}

struct TLocalFree
{
    void operator()(wchar_t* text) const { LocalFree(text); }
};

} // namespace

TWin32FileSystem::TWin32FileSystem()
    : m_codePage(std::make_unique<TWin32CodePage>())
{ }

TWin32FileSystem::~TWin32FileSystem() = default;

std::string TWin32FileSystem::CommonDataFolder()
{
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder)))
        return {};
    return Narrow(folder);
}

bool TWin32FileSystem::FolderExists(const std::string& path)
{
    const std::wstring wide = Widen(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return !MeansMissing(GetLastError());
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return true;
    // A link or junction counts only when the folder it leads to can be opened.
    return static_cast<bool>(
        TUniqueHandle(CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)));
}

void TWin32FileSystem::CreateSharedFolder(const std::string& path)
{
    CreateFolderSharedWithEveryone(Widen(path));
}

bool TWin32FileSystem::FileExists(const std::string& path)
{
    const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TFileReadResult TWin32FileSystem::ReadFile(const std::string& path, std::size_t limit)
{
    const TUniqueHandle file(CreateFileW(Widen(path).c_str(), GENERIC_READ, ShareModes::Reading, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return { static_cast<int>(GetLastError()), {} };
    TFileReadResult result;
    char buffer[65536];
    for (;;) {
        // One byte beyond the limit tells a file of exactly limit bytes from a longer one.
        const auto wanted = static_cast<DWORD>(std::min(sizeof buffer, limit + 1 - result.Bytes.size()));
        DWORD got = 0;
        if (!::ReadFile(file.Get(), buffer, wanted, &got, nullptr))
            return { static_cast<int>(GetLastError()), {} };
        if (got == 0)
            return result;
        result.Bytes.append(buffer, got);
        if (result.Bytes.size() > limit) {
            result.Bytes.resize(limit);
            result.Error = ERROR_FILE_TOO_LARGE;
            return result;
        }
    }
}

TSaveLockResult TWin32FileSystem::LockSave(const std::string& path)
{
    return LockSaveOf(Widen(path), SaveLockWaitMs);
}

TFileWriteResult TWin32FileSystem::ReplaceFile(const std::string& path, std::string_view bytes)
{
    const std::wstring target = Widen(path);
    const TSaveFolder folder = HoldSaveFolderOf(target);
    if (folder.Error)
        return { TFileWriteFailure::Create, static_cast<int>(folder.Error) };
    RemoveLeftoverTemporaryFiles(target);
    TTemporaryFile temporary(target);
    if (const DWORD error = temporary.Error())
        return { TFileWriteFailure::Create, static_cast<int>(error) };
    if (const DWORD error = temporary.Write(bytes))
        return { TFileWriteFailure::Write, static_cast<int>(error) };
    if (const DWORD error = temporary.MoveTo(target))
        return { TFileWriteFailure::Create, static_cast<int>(ReplaceError(error, target)) };
    return {};
}

const TCodePage& TWin32FileSystem::AnsiCodePage() const
{
    return *m_codePage;
}

std::string TWin32FileSystem::SystemErrorMessage(int error) const
{
    wchar_t* text = nullptr;
    const DWORD length
        = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                         nullptr, static_cast<DWORD>(error), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    const std::unique_ptr<wchar_t, TLocalFree> owner(text);
    if (length == 0)
        return error == static_cast<int>(FolderIsLinkError) ? FolderIsLinkText : std::string();
    return Narrow({ text, length });
}
