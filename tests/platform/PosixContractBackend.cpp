// The contract tests' factory for the POSIX services of the Linux build.
#include "ContractBackend.h"
#include "ContractPaths.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixSocketApi.h"
#include "platform/posix/TemporaryFile.h"
#include "platform/posix/UniqueFd.h"
#include "platform/posix/Utf8CodePage.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sched.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>

namespace {

class TPosixHeldFile : public THeldFile
{
public:
    explicit TPosixHeldFile(TUniqueFd file)
        : m_file(std::move(file))
    { }

private:
    TUniqueFd m_file;
};

class THeldFiles : public THeldFile
{
public:
    THeldFiles(std::unique_ptr<THeldFile> first, std::unique_ptr<THeldFile> second)
        : m_first(std::move(first))
        , m_second(std::move(second))
    { }

private:
    std::unique_ptr<THeldFile> m_first;
    std::unique_ptr<THeldFile> m_second;
};

// Opens path and takes the lock as ReadFile and ReplaceFile take it.
std::unique_ptr<THeldFile> Hold(const std::string& path, int flags, int lock)
{
    TUniqueFd file(open(path.c_str(), flags | O_CLOEXEC));
    if (!file || flock(file.Get(), lock | LOCK_NB) != 0)
        return nullptr;
    return std::make_unique<TPosixHeldFile>(std::move(file));
}

std::string NewFolderIn(const std::string& parent)
{
    std::string pattern = parent + "/ostrel-contract-XXXXXX";
    if (!mkdtemp(pattern.data()))
        return {};
    chmod(pattern.c_str(), 0755);
    return pattern;
}

class TPosixContractBackend : public TContractBackend
{
public:
    TPosixContractBackend()
    {
        // What other users may do with the files the tests make must come from the shared
        // folder's rule, not from a lenient umask.
        umask(077);
    }

    ~TPosixContractBackend() override
    {
        if (!m_smallDisk.empty()) {
            umount(m_smallDisk.c_str());
            rmdir(m_smallDisk.c_str());
        }
    }

    TFileSystem& Files() override { return m_files; }
    TSocketApi& Sockets() override { return m_sockets; }

    std::unique_ptr<TCodePage> CodePage(unsigned number) override
    {
        if (number != TCodePage::Utf8)
            return nullptr;
        return std::make_unique<TUtf8CodePage>();
    }

    std::string NewFolder() override { return NewFolderIn("/tmp"); }

    std::unique_ptr<THeldFile> HoldForReading(const std::string& path) override
    {
        return Hold(path, O_RDONLY, LOCK_SH);
    }
    std::unique_ptr<THeldFile> HoldForWriting(const std::string& path) override { return Hold(path, O_RDWR, LOCK_EX); }
    bool MeansInUse(int error) override { return error == EWOULDBLOCK; }

    std::string LinkFolder(const std::string& link, const std::string& target) override
    {
        std::error_code error;
        std::filesystem::create_directory_symlink(FsPath(target), FsPath(link), error);
        return error ? error.message() : std::string();
    }

    std::string TemporaryFileOf(const std::string& target, unsigned copy) override
    {
        return TemporaryFileName(target, static_cast<pid_t>(copy), 0);
    }
    // The save holds its folder's lock shared while its file exists, and the file's exclusively.
    std::unique_ptr<THeldFile> HoldAsSaveUnderWay(const std::string& path) override
    {
        auto folder = Hold(Utf8(FsPath(path).parent_path()), O_RDONLY | O_DIRECTORY, LOCK_SH);
        auto file = Hold(path, O_RDWR, LOCK_EX);
        if (!folder || !file)
            return nullptr;
        return std::make_unique<THeldFiles>(std::move(folder), std::move(file));
    }

    TEveryoneAccess EveryoneAccess(const std::string& path) override
    {
        struct stat info
        {
        };
        if (stat(path.c_str(), &info) != 0)
            return { false, { false, {} } };
        // Others need search rights too to read or work in a folder.
        const mode_t search = S_ISDIR(info.st_mode) ? S_IXOTH : 0;
        const auto allowed = [&](mode_t bits) { return (info.st_mode & (bits | search)) == (bits | search); };
        return { allowed(S_IROTH), { allowed(S_IWOTH), {} } };
    }

    TShown<std::string> SmallDiskFolder() override
    {
        if (m_smallDisk.empty()) {
            // A mount namespace of the program's own keeps the small disk out of everyone's sight.
            if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
                return { std::nullopt, std::string("no mount namespace of its own: ") + std::strerror(errno) };
            const std::string disk = NewFolderIn("/tmp");
            if (disk.empty() || mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=64k,mode=0755") != 0)
                return { std::nullopt, std::string("cannot mount a small disk: ") + std::strerror(errno) };
            m_smallDisk = disk;
        }
        return { NewFolderIn(m_smallDisk), {} };
    }

private:
    TPosixFileSystem m_files { "/var/lib" };
    TPosixSocketApi m_sockets;
    std::string m_smallDisk;
};

} // namespace

TContractBackend& ContractBackend()
{
    static TPosixContractBackend backend;
    return backend;
}
