#pragma once

#include "platform/FileSystem.h"

#include <string>

// The save lock of target: "<name>.lock" beside it, hidden, held open with no sharing. It is
// deleted when the last save lets go, so it never lingers in the shared folder. A folder
// that is a link is refused (HoldSaveFolderOf); the folder is held as long as the lock.
TSaveLockResult LockSaveOf(const std::wstring& target, int waitMs);
