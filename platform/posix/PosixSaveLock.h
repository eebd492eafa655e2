#pragma once

#include "platform/FileSystem.h"

#include <string>

// The save lock of target: an exclusive flock on ".<name>.lock" beside it, a file that stays,
// because the file a save replaces changes with every save and cannot carry the lock itself.
TSaveLockResult LockSaveOf(const std::string& target, int waitMs);
