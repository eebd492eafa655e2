#pragma once

#include <string>

// Creates path's last component as a folder whose access list lets Everyone (S-1-1-0) do
// anything, a rule that files and folders created inside inherit. Failures are silent:
// the caller looks for the folder afterwards.
void CreateFolderSharedWithEveryone(const std::wstring& path);
