#pragma once

#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/Sockets.h"

#include <memory>
#include <optional>
#include <string>

// What a backend can show, or why it cannot show it where the tests run.
template <typename T> struct TShown
{
    std::optional<T> Value;
    std::string WhyNot;
};

// Whether every user of the system may read and write a file or folder. Wine keeps a file's
// security only as Unix mode bits less the umask, so there writing cannot be seen: WhyNot says so.
struct TEveryoneAccess
{
    bool Read = false;
    TShown<bool> Write;
};

// A file held open the way another copy of Ostrel holds it; let go when destroyed.
class THeldFile
{
public:
    virtual ~THeldFile() = default;
};

// What the contract tests need of a backend: its services, and the means to bring about the
// situations they are tested in. Each backend's test program defines ContractBackend() once.
class TContractBackend
{
public:
    virtual ~TContractBackend() = default;

    virtual TFileSystem& Files() = 0;
    virtual TSocketApi& Sockets() = 0;
    // The code page with that number; none when the backend cannot give it.
    virtual std::unique_ptr<TCodePage> CodePage(unsigned number) = 0;

    // A new, empty folder; the test removes it.
    virtual std::string NewFolder() = 0;
    // Holds path as a copy of Ostrel does while it reads the file, or while it writes it.
    virtual std::unique_ptr<THeldFile> HoldForReading(const std::string& path) = 0;
    virtual std::unique_ptr<THeldFile> HoldForWriting(const std::string& path) = 0;
    // True when error is the system's "someone else has the file open".
    virtual bool MeansInUse(int error) = 0;
    // Makes link lead to the folder target: empty, or why the system cannot make it here.
    virtual std::string LinkFolder(const std::string& link, const std::string& target) = 0;
    // The name that a save of target, by the copy numbered copy, gives its temporary file.
    virtual std::string TemporaryFileOf(const std::string& target, unsigned copy) = 0;
    // Holds the temporary file at path as the save that made it does while it is under way.
    virtual std::unique_ptr<THeldFile> HoldAsSaveUnderWay(const std::string& path) = 0;
    // What every user of the system may do with what is at path, as far as the system shows it.
    virtual TEveryoneAccess EveryoneAccess(const std::string& path) = 0;
    // A folder on a disk with room for less than 64 KB, holding nothing of anyone else.
    virtual TShown<std::string> SmallDiskFolder() = 0;
};

TContractBackend& ContractBackend();
