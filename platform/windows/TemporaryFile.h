#pragma once

#include "platform/windows/UniqueHandle.h"

#include <string>
#include <string_view>

// The file a save writes before it takes its target's place. It lies next to the target,
// named after it, the saving process and a serial number, and stays open until it has been
// moved: no one else may open it meanwhile, and an open one tells a later save that its
// owner is still at work. The file is removed again unless it was moved into place.
class TTemporaryFile
{
public:
    explicit TTemporaryFile(const std::wstring& target);
    TTemporaryFile(const TTemporaryFile&) = delete;
    TTemporaryFile& operator=(const TTemporaryFile&) = delete;
    ~TTemporaryFile();

    // 0, or why the file could not be created.
    DWORD Error() const { return m_error; }
    // Writes every byte and flushes them to the disk; 0 or the error.
    DWORD Write(std::string_view bytes);
    // How long MoveTo waits for someone else to let go of target.
    static constexpr ULONGLONG MoveWaitMs = 1000;

    // Puts the file in target's place in one step; 0 or the error. While another program has
    // target open without sharing its deletion, tries again for up to MoveWaitMs.
    DWORD MoveTo(const std::wstring& target);

private:
    std::wstring m_path;
    TUniqueHandle m_file;
    DWORD m_error = 0;
    bool m_moved = false;
};

// The name of a temporary file of target's saves, made by process processId.
std::wstring TemporaryFileName(const std::wstring& target, DWORD processId, unsigned serial);

// Removes the temporary files that saves of target left when they were killed. The files of
// saves still under way are open, so they cannot be removed and are left alone.
void RemoveLeftoverTemporaryFiles(const std::wstring& target);
