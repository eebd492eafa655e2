#include "platform/windows/SaveLock.h"

#include "platform/windows/SaveFolder.h"
#include "platform/windows/UniqueHandle.h"

namespace {

class TWin32SaveLock : public TSaveLock
{
public:
    TWin32SaveLock(TUniqueHandle folder, TUniqueHandle file)
        : m_folder(std::move(folder))
        , m_file(std::move(file))
    { }

private:
    // Keeps the folder in place while the save that holds the lock is under way.
    TUniqueHandle m_folder;
    TUniqueHandle m_file;
};

} // namespace

TSaveLockResult LockSaveOf(const std::wstring& target, int waitMs)
{
    TSaveFolder folder = HoldSaveFolderOf(target);
    if (folder.Error == FolderIsLinkError)
        return { static_cast<int>(folder.Error), nullptr };
    const std::wstring path = target + L".lock";
    // Another save holding it makes the open fail with a sharing violation; the open is
    // asked again until the wait is over.
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(waitMs);
    for (;;) {
        TUniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ | DELETE, 0, nullptr, OPEN_ALWAYS,
                                       FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
        if (file)
            return { 0, std::make_unique<TWin32SaveLock>(std::move(folder.Folder), std::move(file)) };
        // A lock file that its last holder is deleting cannot be opened for a moment either,
        // with "access denied", which is also what a folder this user may not write gives.
        const DWORD error = GetLastError();
        const bool held = error == ERROR_SHARING_VIOLATION;
        if (!held && error != ERROR_ACCESS_DENIED)
            return {};
        if (GetTickCount64() >= deadline)
            return held ? TSaveLockResult { static_cast<int>(error), nullptr } : TSaveLockResult {};
        Sleep(5);
    }
}
