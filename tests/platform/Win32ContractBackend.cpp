// The contract tests' factory for the Win32 backend.
#include "ContractBackend.h"
#include "platform/windows/ShareModes.h"
#include "platform/windows/TemporaryFile.h"
#include "platform/windows/UniqueHandle.h"
#include "platform/windows/WideText.h"
#include "platform/windows/Win32CodePage.h"
#include "platform/windows/Win32FileSystem.h"
#include "platform/windows/Win32SocketApi.h"
#include "tests/support/UnderWine.h"

#include <aclapi.h>
#include <atomic>

namespace {

struct TLocalFree
{
    void operator()(void* memory) const { LocalFree(memory); }
};

// True when acl lets Everyone have every right in access on the object it guards itself.
bool EveryoneAllowed(ACL* acl, DWORD access)
{
    if (!acl)
        return true;
    DWORD everyone[SECURITY_MAX_SID_SIZE / sizeof(DWORD)] = {};
    DWORD size = sizeof everyone;
    if (!CreateWellKnownSid(WinWorldSid, nullptr, everyone, &size))
        return false;
    for (DWORD i = 0; i < acl->AceCount; ++i) {
        void* entry = nullptr;
        if (!GetAce(acl, i, &entry))
            return false;
        const auto* header = static_cast<const ACE_HEADER*>(entry);
        if (header->AceType != ACCESS_ALLOWED_ACE_TYPE || (header->AceFlags & INHERIT_ONLY_ACE))
            continue;
        auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(entry);
        if (EqualSid(&allowed->SidStart, everyone) && (allowed->Mask & access) == access)
            return true;
    }
    return false;
}

class TWin32HeldFile : public THeldFile
{
public:
    explicit TWin32HeldFile(TUniqueHandle file)
        : m_file(std::move(file))
    { }

private:
    TUniqueHandle m_file;
};

std::unique_ptr<THeldFile> Hold(const std::string& path, DWORD access, DWORD share)
{
    TUniqueHandle file(
        CreateFileW(Widen(path).c_str(), access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return nullptr;
    return std::make_unique<TWin32HeldFile>(std::move(file));
}

// A new folder named for this process inside parent, which ends with a separator.
std::string NewFolderIn(const std::wstring& parent)
{
    static std::atomic<unsigned> serial = 0;
    const std::wstring folder
        = parent + L"ostrel-contract-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(serial++);
    return CreateDirectoryW(folder.c_str(), nullptr) ? Narrow(folder) : std::string();
}

class TWin32ContractBackend : public TContractBackend
{
public:
    TFileSystem& Files() override { return m_files; }
    TSocketApi& Sockets() override { return m_sockets; }

    std::unique_ptr<TCodePage> CodePage(unsigned number) override
    {
        if (!IsValidCodePage(number))
            return nullptr;
        return std::make_unique<TWin32CodePage>(number);
    }

    std::string NewFolder() override
    {
        wchar_t temporary[MAX_PATH + 1] = {};
        GetTempPathW(MAX_PATH + 1, temporary);
        return NewFolderIn(temporary);
    }

    std::unique_ptr<THeldFile> HoldForReading(const std::string& path) override
    {
        return Hold(path, GENERIC_READ, ShareModes::Reading);
    }
    std::unique_ptr<THeldFile> HoldForWriting(const std::string& path) override
    {
        return Hold(path, GENERIC_WRITE, ShareModes::Writing);
    }
    bool MeansInUse(int error) override { return error == ERROR_SHARING_VIOLATION; }

    std::string LinkFolder(const std::string& link, const std::string& target) override
    {
        const std::wstring wideLink = Widen(link);
        if (!CreateSymbolicLinkW(wideLink.c_str(), Widen(target).c_str(),
                                 SYMBOLIC_LINK_FLAG_DIRECTORY | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE))
            return "no right to make links here (error " + std::to_string(GetLastError()) + ")";
        // Wine 8 answers the call with success and makes nothing.
        if (GetFileAttributesW(wideLink.c_str()) == INVALID_FILE_ATTRIBUTES)
            return "the system says it made the link, but there is none (Wine makes no links)";
        return {};
    }

    std::string TemporaryFileOf(const std::string& target, unsigned copy) override
    {
        return Narrow(TemporaryFileName(Widen(target), copy, 0));
    }
    // The save keeps its file open, and so out of reach of the next save's clean-up.
    std::unique_ptr<THeldFile> HoldAsSaveUnderWay(const std::string& path) override { return HoldForWriting(path); }

    TEveryoneAccess EveryoneAccess(const std::string& path) override
    {
        ACL* acl = nullptr;
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        if (GetNamedSecurityInfoW(Widen(path).c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                  &acl, nullptr, &descriptor)
            != ERROR_SUCCESS)
            return { false, { false, {} } };
        const std::unique_ptr<void, TLocalFree> owner(descriptor);
        // A folder is read by listing and passing through it, written by adding and removing
        // files; its own attributes and rights are no one's but the administrators'.
        const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
        const bool folder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
        const DWORD readRights = folder ? FILE_LIST_DIRECTORY | FILE_TRAVERSE | SYNCHRONIZE : FILE_GENERIC_READ;
        const DWORD writeRights = folder ? FILE_ADD_FILE | FILE_DELETE_CHILD : FILE_GENERIC_WRITE;
        const bool read = EveryoneAllowed(acl, readRights);
        // Wine makes the list from the Unix mode bits, where the umask took the others' write.
        if (UnderWine())
            return { read,
                     { std::nullopt,
                       "Wine keeps a file's security only as Unix mode bits less the umask, so "
                       "Everyone's right to write cannot be seen here" } };
        return { read, { EveryoneAllowed(acl, writeRights), {} } };
    }

    TShown<std::string> SmallDiskFolder() override
    {
        // The Wine harness names a small disk of its own here.
        wchar_t disk[MAX_PATH] = {};
        if (GetEnvironmentVariableW(L"OSTREL_SMALL_DISK", disk, MAX_PATH) == 0)
            return { std::nullopt, "no small disk: OSTREL_SMALL_DISK names none (the Wine harness sets it)" };
        const std::string folder = NewFolderIn(disk);
        if (folder.empty())
            return { std::nullopt, "cannot make a folder on the small disk" };
        return { folder, {} };
    }

private:
    TWin32FileSystem m_files;
    TWin32SocketApi m_sockets;
};

} // namespace

TContractBackend& ContractBackend()
{
    static TWin32ContractBackend backend;
    return backend;
}
