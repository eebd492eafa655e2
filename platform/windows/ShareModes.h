#pragma once

#include "platform/windows/WindowsApi.h"

// The share modes with which every copy of Ostrel opens the files it shares, so that
// CreateFileW itself refuses a conflicting open, at once.
namespace ShareModes {
// While a copy reads a file, others may read it too but not write it; and Windows
// replaces no file that is open.
constexpr DWORD Reading = FILE_SHARE_READ;
// While a copy writes a file, no one else may open it; only the writer's own MoveFileExW
// may rename it, which needs the file's deletion shared.
constexpr DWORD Writing = FILE_SHARE_DELETE;
} // namespace ShareModes
