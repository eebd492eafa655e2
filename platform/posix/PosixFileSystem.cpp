#include "platform/posix/PosixFileSystem.h"

#include "platform/posix/PosixSaveLock.h"
#include "platform/posix/TemporaryFile.h"
#include "platform/posix/UniqueFd.h"
#include "platform/posix/Utf8CodePage.h"

#include <acl/libacl.h>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/acl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace {

// Errors that say nothing is at the path; any other failure to look leaves it counted as there.
bool MeansMissing(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
    case ENODEV:
    case ENXIO:
    case EINVAL:
        return true;
    default:
        return false;
    }
}

// Takes a lock without waiting: another copy holding a conflicting one is an error at once.
int LockNow(int fd, int operation)
{
    return flock(fd, operation | LOCK_NB) == 0 ? 0 : errno;
}

std::string FolderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

int WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return written < 0 ? errno : ENOSPC;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return fsync(fd) == 0 ? 0 : errno;
}

} // namespace

TPosixFileSystem::TPosixFileSystem(std::string baseFolder)
    : m_baseFolder(std::move(baseFolder))
    , m_codePage(std::make_unique<TUtf8CodePage>())
{ }

TPosixFileSystem::~TPosixFileSystem() = default;

std::string TPosixFileSystem::CommonDataFolder()
{
    return m_baseFolder;
}

bool TPosixFileSystem::FolderExists(const std::string& path)
{
    struct stat info
    {
    };
    if (stat(path.c_str(), &info) != 0)
        return !MeansMissing(errno);
    if (!S_ISDIR(info.st_mode))
        return false;
    struct stat link
    {
    };
    if (lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode))
        return static_cast<bool>(TUniqueFd(open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)));
    return true;
}

void TPosixFileSystem::CreateSharedFolder(const std::string& path)
{
    if (mkdir(path.c_str(), 0777) != 0)
        return;
    // mkdir's mode passes through the umask; the folder itself must be open to all.
    chmod(path.c_str(), 0777);
    // The default ACL is what files created inside inherit, instead of the creator's umask.
    acl_t acl = acl_from_text("u::rwx,g::rwx,o::rwx");
    if (!acl)
        return;
    acl_set_file(path.c_str(), ACL_TYPE_DEFAULT, acl);
    acl_free(acl);
}

bool TPosixFileSystem::FileExists(const std::string& path)
{
    struct stat info
    {
    };
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

TFileReadResult TPosixFileSystem::ReadFile(const std::string& path, std::size_t limit)
{
    // O_NONBLOCK: whatever stands at the path now, opening it must not wait.
    const TUniqueFd fd(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!fd)
        return { errno, {} };
    if (const int error = LockNow(fd.Get(), LOCK_SH))
        return { error, {} };
    // Read straight into the result, sized by what the file holds now, as a list file runs to
    // megabytes; one byte beyond the limit tells a file of exactly limit bytes from a longer one.
    struct stat status
    {
    };
    const std::size_t expected = fstat(fd.Get(), &status) == 0 ? static_cast<std::size_t>(status.st_size) : 0;
    TFileReadResult result;
    std::string& bytes = result.Bytes;
    bytes.resize(std::min(limit, std::max<std::size_t>(expected, 65535)) + 1);
    std::size_t done = 0;
    for (;;) {
        if (done == bytes.size())
            bytes.resize(std::min(limit + 1, 2 * bytes.size()));
        const ssize_t got = read(fd.Get(), bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return { errno, {} };
        if (got == 0) {
            bytes.resize(done);
            return result;
        }
        done += static_cast<std::size_t>(got);
        if (done > limit) {
            bytes.resize(limit);
            result.Error = EFBIG;
            return result;
        }
    }
}

TSaveLockResult TPosixFileSystem::LockSave(const std::string& path)
{
    return LockSaveOf(path, SaveLockWaitMs);
}

TFileWriteResult TPosixFileSystem::ReplaceFile(const std::string& path, std::string_view bytes)
{
    // Every save holds the folder's lock shared while its temporary file exists; whoever gets it
    // exclusively knows that no save is under way and may clear what killed ones left.
    const TUniqueFd folder(open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder)
        return { TFileWriteFailure::Create, errno };
    if (LockNow(folder.Get(), LOCK_EX) == 0)
        RemoveLeftoverTemporaryFiles(folder.Get(), path);
    if (const int error = LockNow(folder.Get(), LOCK_SH))
        return { TFileWriteFailure::Create, error };

    // Holding the current file's lock keeps readers and other writers out until the new
    // file has taken its place; they then meet the new file's lock instead.
    const TUniqueFd current(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!current && errno != ENOENT)
        return { TFileWriteFailure::Create, errno };
    if (current) {
        if (const int error = LockNow(current.Get(), LOCK_EX))
            return { TFileWriteFailure::Create, error };
    }

    TTemporaryFile temporary(path);
    if (temporary.Error() != 0)
        return { TFileWriteFailure::Create, temporary.Error() };
    if (const int error = LockNow(temporary.Fd(), LOCK_EX))
        return { TFileWriteFailure::Create, error };
    if (const int error = WriteAll(temporary.Fd(), bytes))
        return { TFileWriteFailure::Write, error };
    if (const int error = temporary.RenameTo(path))
        return { TFileWriteFailure::Create, error };

    // Make the rename itself durable; the new file is complete either way.
    fsync(folder.Get());
    return {};
}

const TCodePage& TPosixFileSystem::AnsiCodePage() const
{
    return *m_codePage;
}

std::string TPosixFileSystem::SystemErrorMessage(int error) const
{
    return std::generic_category().message(error);
}
