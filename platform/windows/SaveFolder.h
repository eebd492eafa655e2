#pragma once

#include "platform/windows/UniqueHandle.h"

#include <string>

// ERROR_STOPPED_ON_SYMLINK, "The create operation stopped after reaching a symbolic link",
// which mingw-w64's headers lack.
constexpr DWORD FolderIsLinkError = 681;
// What to say for it where the system has no text for it (Wine).
constexpr char FolderIsLinkText[] = "The folder is a junction or symbolic link, and nothing is saved through it";

// The folder a save of target writes in, held open from the check to the end of the save,
// so that it cannot be deleted or renamed and a link put in its place meanwhile. A folder
// that is itself a reparse point (junction, symbolic link) is refused: a save through it
// would write and delete files wherever it leads, which in the folder shared by every user
// could be chosen by any of them. Error is then FolderIsLinkError; when the folder cannot be
// opened, the open's error.
struct TSaveFolder
{
    DWORD Error = 0;
    TUniqueHandle Folder;
};

TSaveFolder HoldSaveFolderOf(const std::wstring& target);
