#include "platform/windows/SaveFolder.h"

namespace {

std::wstring FolderOf(const std::wstring& target)
{
    const auto separator = target.find_last_of(L"\\/");
    if (separator == std::wstring::npos)
        return L".";
    std::wstring folder = target.substr(0, separator);
    // "C:" alone names the drive's current folder, not its root.
    if (folder.empty() || folder.back() == L':')
        folder += L'\\';
    return folder;
}

} // namespace

TSaveFolder HoldSaveFolderOf(const std::wstring& target)
{
    // No FILE_SHARE_DELETE: while it is open, no one can delete or rename the folder. Windows
    // keeps to the share mode only for an open that asks for data access, as listing does.
    // FILE_FLAG_OPEN_REPARSE_POINT opens a link itself, not what it leads to.
    TUniqueHandle folder(CreateFileW(FolderOf(target).c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                     FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!folder) {
        const DWORD error = GetLastError();
        // The folder of the path is missing: the path is not found, as a save into it says.
        return { error == ERROR_FILE_NOT_FOUND ? static_cast<DWORD>(ERROR_PATH_NOT_FOUND) : error, {} };
    }
    BY_HANDLE_FILE_INFORMATION information {};
    if (!GetFileInformationByHandle(folder.Get(), &information))
        return { GetLastError(), {} };
    if (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return { FolderIsLinkError, {} };
    return { 0, std::move(folder) };
}
