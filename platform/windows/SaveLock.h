#pragma once

#include "platform/FileSystem.h"

#include <string>

// The save lock of target: "<name>.lock" beside it, hidden, held open with no sharing. It is
// deleted when the last save lets go, so it never lingers in the shared folder.
TSaveLockResult LockSaveOf(const std::wstring& target, int waitMs);
