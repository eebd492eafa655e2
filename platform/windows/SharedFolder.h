#pragma once

#include "platform/windows/WindowsApi.h"

#include <string>

// What Everyone may do with the files in the shared folder: read, write and delete them.
constexpr DWORD EveryoneOnFiles = FILE_GENERIC_READ | FILE_GENERIC_WRITE | DELETE;
// What Everyone may do with the shared folder itself: list it, add files to it and delete
// them, pass through it; SYNCHRONIZE and FILE_READ_ATTRIBUTES because every open of a folder
// (a file search, a look at its attributes) asks for them. Neither DELETE nor WRITE_DAC nor
// WRITE_OWNER: no one but an administrator may remove the folder or change its rights.
constexpr DWORD EveryoneOnFolder
    = FILE_LIST_DIRECTORY | FILE_ADD_FILE | FILE_TRAVERSE | FILE_DELETE_CHILD | FILE_READ_ATTRIBUTES | SYNCHRONIZE;

// Creates path's last component as the folder every user shares: Everyone gets
// EveryoneOnFolder on it and EveryoneOnFiles on each file created inside; Administrators and
// SYSTEM keep full control; the folder's owner gets what Everyone gets, and nothing is taken
// from the parent folder. Failures are silent: the caller looks for the folder afterwards.
void CreateFolderSharedWithEveryone(const std::wstring& path);
