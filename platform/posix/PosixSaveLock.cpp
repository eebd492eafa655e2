#include "platform/posix/PosixSaveLock.h"

#include "platform/posix/UniqueFd.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>

namespace {

class TPosixSaveLock : public TSaveLock
{
public:
    explicit TPosixSaveLock(TUniqueFd file)
        : m_file(std::move(file))
    { }

private:
    // Closing the file lets go of the lock.
    TUniqueFd m_file;
};

std::string LockFileOf(const std::string& target)
{
    const auto slash = target.rfind('/');
    std::string path = target.substr(0, slash + 1);
    path += '.';
    path.append(target, slash + 1);
    path += ".lock";
    return path;
}

} // namespace

TSaveLockResult LockSaveOf(const std::string& target, int waitMs)
{
    const std::string path = LockFileOf(target);
    // Any user may write in the folder: a link put in the lock's place is refused, not followed.
    TUniqueFd file(open(path.c_str(), O_RDONLY | O_CREAT | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC, 0666));
    // Without a lock file the save goes on unserialised: a folder this user may not write
    // fails it at the replace with the error that names the real cause.
    if (!file)
        return {};
    // Every user's saves take it, whatever the umask of the one who made it.
    struct stat info
    {
    };
    if (fstat(file.Get(), &info) == 0 && info.st_uid == geteuid())
        fchmod(file.Get(), 0666);

    // flock cannot wait for a while and then give up, so it is asked again and again.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    for (;;) {
        if (flock(file.Get(), LOCK_EX | LOCK_NB) == 0)
            return { 0, std::make_unique<TPosixSaveLock>(std::move(file)) };
        const int error = errno;
        if ((error != EWOULDBLOCK && error != EINTR) || std::chrono::steady_clock::now() >= deadline)
            return { error, nullptr };
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}
