#pragma once

#include "platform/posix/UniqueFd.h"

#include <string>
#include <sys/types.h>

// The file a save writes before it takes its target's place. It lies next to the target,
// named after it, the saving process and a serial number, and is removed again unless it
// was renamed into place. Its save holds the folder's lock shared while it exists.
class TTemporaryFile
{
public:
    explicit TTemporaryFile(const std::string& target);
    TTemporaryFile(const TTemporaryFile&) = delete;
    TTemporaryFile& operator=(const TTemporaryFile&) = delete;
    ~TTemporaryFile();

    // 0, or the errno of why the file could not be created.
    int Error() const { return m_error; }
    int Fd() const { return m_fd.Get(); }
    // Puts the file in target's place in one step; 0 or the errno.
    int RenameTo(const std::string& target);

private:
    std::string m_path;
    TUniqueFd m_fd;
    int m_error = 0;
    bool m_renamed = false;
};

// The name of a temporary file of target's saves, made by process: "." + the target's name +
// ".saving." + the process + "." + serial, in the target's folder. Nothing else is named so.
std::string TemporaryFileName(const std::string& target, pid_t process, unsigned serial);

// Removes from folder, an open descriptor of target's folder, the temporary files of target's
// saves. Only for a caller that holds the folder's lock exclusively: then no save is under
// way, and every such file was left by a save that was killed.
void RemoveLeftoverTemporaryFiles(int folder, const std::string& target);
