#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

class TCodePage;

// Outcome of reading a whole file: Error is 0 or the system's error code. A file longer than
// the reader's limit gives the system's "file too large" code with its first bytes up to it.
struct TFileReadResult
{
    int Error = 0;
    std::string Bytes;
};

// Keeps every other save of one file, in any process, waiting until it goes.
class TSaveLock
{
public:
    virtual ~TSaveLock() = default;
};

// Lock is none when Error is not 0, and also when the lock cannot be made where this user may
// not create files: no save of this user can replace a file there either.
struct TSaveLockResult
{
    int Error = 0;
    std::unique_ptr<TSaveLock> Lock;
};

// Where replacing a file stopped.
enum class TFileWriteFailure {
    None,
    // The file could not be created or put in place; the previous file is untouched.
    Create,
    // Not every byte reached the disk; the previous file is untouched.
    Write,
};

struct TFileWriteResult
{
    TFileWriteFailure Failure = TFileWriteFailure::None;
    int Error = 0;
};

// The folders and files the program keeps, with the system's sharing rules:
// a file being read may be read by others but not written; a file being
// written may not be opened by anyone else. Locked files fail at once, never wait; only a
// save waits for another save, a short while, and a replace on Windows for up to a second
// for another program (a virus scanner, say) to let go of the file it replaces.
class TFileSystem
{
public:
    static constexpr int SaveLockWaitMs = 5000;

    virtual ~TFileSystem() = default;
    // The folder the system keeps for data of all users; empty when it cannot be found.
    virtual std::string CommonDataFolder() = 0;
    // True when path is a folder; errors other than "not there" count as existing.
    virtual bool FolderExists(const std::string& path) = 0;
    // Creates path's last component as a folder every user may read and write, a rule
    // every file and folder created inside inherits. Failures are silent.
    virtual void CreateSharedFolder(const std::string& path) = 0;
    // True when a file that is not a folder exists at path.
    virtual bool FileExists(const std::string& path) = 0;
    // Reads the whole file, up to limit bytes, while others may only read it.
    virtual TFileReadResult ReadFile(const std::string& path, std::size_t limit) = 0;
    // Taken by every save of path before it reads the file and held until the file is
    // replaced, so that saves follow one another and each sees the one before. Waits for
    // another's save for up to SaveLockWaitMs; Error is then the system's "in use" code.
    virtual TSaveLockResult LockSave(const std::string& path) = 0;
    // Puts a file holding exactly bytes in path's place in one step, or leaves the old one.
    // The bytes go to a temporary file beside path first, named so that nothing else can be
    // taken for one; a save killed before the swap leaves it behind, and the next ReplaceFile
    // of path removes it, unless another process's save of path is under way at that moment.
    // A temporary file whose save is still under way is never removed.
    virtual TFileWriteResult ReplaceFile(const std::string& path, std::string_view bytes) = 0;
    virtual char PathSeparator() const = 0;
    virtual const TCodePage& AnsiCodePage() const = 0;
    // The system's description of an error code, as it gives it; for the codes of Ostrel's
    // own refusals that a system may not describe, Ostrel's own.
    virtual std::string SystemErrorMessage(int error) const = 0;
};
