#include "platform/posix/TemporaryFile.h"

#include <atomic>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The name of target's temporary files up to the saving process: "." + the target's name +
// ".saving.".
std::string TemporaryPrefix(const std::string& target)
{
    // Appended piece by piece: GCC 12 warns falsely about a literal joined to a string here.
    std::string prefix = ".";
    prefix.append(target, target.rfind('/') + 1);
    prefix += ".saving.";
    return prefix;
}

bool IsTemporaryName(std::string_view name, std::string_view prefix)
{
    if (!name.starts_with(prefix))
        return false;
    const auto rest = name.substr(prefix.size());
    const auto dot = rest.find('.');
    const auto digits = [](std::string_view part) {
        return !part.empty() && part.find_first_not_of("0123456789") == std::string_view::npos;
    };
    return dot != std::string_view::npos && digits(rest.substr(0, dot)) && digits(rest.substr(dot + 1));
}

} // namespace

TTemporaryFile::TTemporaryFile(const std::string& target)
{
    static std::atomic<unsigned> serial = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        m_path = TemporaryFileName(target, getpid(), serial++);
        m_fd = TUniqueFd(open(m_path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        m_error = m_fd ? 0 : errno;
        if (m_error != EEXIST)
            break;
    }
    // Every user reads and writes the file it becomes. The folder's default ACL gives that
    // regardless of the umask, but a folder made by hand, or a file system without ACLs, has none.
    if (m_fd)
        fchmod(m_fd.Get(), 0666);
}

TTemporaryFile::~TTemporaryFile()
{
    if (m_fd && !m_renamed)
        unlink(m_path.c_str());
}

int TTemporaryFile::RenameTo(const std::string& target)
{
    if (rename(m_path.c_str(), target.c_str()) != 0)
        return errno;
    m_renamed = true;
    return 0;
}

std::string TemporaryFileName(const std::string& target, pid_t process, unsigned serial)
{
    std::string name = target.substr(0, target.rfind('/') + 1);
    name += TemporaryPrefix(target);
    name += std::to_string(process);
    name += '.';
    name += std::to_string(serial);
    return name;
}

void RemoveLeftoverTemporaryFiles(int folder, const std::string& target)
{
    DIR* entries = fdopendir(dup(folder));
    if (!entries)
        return;
    const std::string prefix = TemporaryPrefix(target);
    while (const dirent* entry = readdir(entries))
        if (IsTemporaryName(entry->d_name, prefix))
            unlinkat(folder, entry->d_name, 0);
    closedir(entries);
}
