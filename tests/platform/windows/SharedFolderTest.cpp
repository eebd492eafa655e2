// The folder every user shares: who may do what with it and with the files inside, and that a
// link in its place is refused, so that nothing is written or deleted wherever it leads.
#include "platform/windows/SharedFolder.h"

#include "ContractPaths.h"
#include "FakeControls.h"
#include "list/ComputerList.h"
#include "list/ListFile.h"
#include "list/ListMerge.h"
#include "platform/OstrelError.h"
#include "platform/windows/SaveFolder.h"
#include "platform/windows/WideText.h"
#include "platform/windows/Win32FileSystem.h"
#include "WindowsTestFolder.h"

#include <aclapi.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <winioctl.h>

namespace {

struct TLocalFree
{
    void operator()(void* memory) const { LocalFree(memory); }
};

// One allowing entry of an access list, as the test compares it.
struct TEntry
{
    DWORD Mask = 0;
    BYTE Flags = 0;
    bool operator==(const TEntry&) const = default;
};

// The allowing entries for the well-known identifier type on what is at path, in their order.
std::vector<TEntry> AllowedFor(const std::string& path, WELL_KNOWN_SID_TYPE type)
{
    ACL* acl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(Widen(path).c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &acl,
                              nullptr, &descriptor)
        != ERROR_SUCCESS)
        return {};
    const std::unique_ptr<void, TLocalFree> owner(descriptor);
    DWORD sid[SECURITY_MAX_SID_SIZE / sizeof(DWORD)] = {};
    DWORD size = sizeof sid;
    std::vector<TEntry> entries;
    if (!acl || !CreateWellKnownSid(type, nullptr, sid, &size))
        return entries;
    for (DWORD i = 0; i < acl->AceCount; ++i) {
        void* entry = nullptr;
        if (!GetAce(acl, i, &entry) || static_cast<ACE_HEADER*>(entry)->AceType != ACCESS_ALLOWED_ACE_TYPE)
            continue;
        auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(entry);
        if (EqualSid(&allowed->SidStart, sid))
            entries.push_back({ allowed->Mask, allowed->Header.AceFlags });
    }
    return entries;
}

// Makes link a junction to target: empty, or why the system made none.
std::string MakeJunction(const std::wstring& link, const std::wstring& target)
{
    if (!CreateDirectoryW(link.c_str(), nullptr))
        return "cannot make the folder for the junction";
    const TUniqueHandle folder(CreateFileW(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                           FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    // The mount point layout of the reparse data: the name the system follows ("\??\C:\...")
    // and an empty name to show, each ending in a zero.
    const std::wstring names = L"\\??\\" + target + L'\0' + L'\0';
    struct
    {
        DWORD Tag;
        WORD DataLength;
        WORD Reserved;
        WORD SubstituteOffset;
        WORD SubstituteLength;
        WORD PrintOffset;
        WORD PrintLength;
        wchar_t Names[MAX_PATH * 2];
    } data {};
    const auto substituteBytes = static_cast<WORD>((names.size() - 2) * sizeof(wchar_t));
    data.Tag = IO_REPARSE_TAG_MOUNT_POINT;
    data.DataLength = static_cast<WORD>(4 * sizeof(WORD) + names.size() * sizeof(wchar_t));
    data.SubstituteLength = substituteBytes;
    data.PrintOffset = static_cast<WORD>(substituteBytes + sizeof(wchar_t));
    names.copy(data.Names, names.size());
    DWORD returned = 0;
    if (!folder
        || !DeviceIoControl(folder.Get(), FSCTL_SET_REPARSE_POINT, &data, data.DataLength + 8, nullptr, 0, &returned,
                            nullptr))
        return "the system makes no junctions here (error " + std::to_string(GetLastError()) + ")";
    if (!(GetFileAttributesW(link.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT))
        return "the system says it made the junction, but the folder is none (Wine 8 makes none)";
    return {};
}

// The Windows services with the test's folder in place of the folder for all users' data.
class TFilesIn : public TWin32FileSystem
{
public:
    explicit TFilesIn(std::string base)
        : m_base(std::move(base))
    { }
    std::string CommonDataFolder() override { return m_base; }

private:
    std::string m_base;
};

class SharedFolderTest : public testing::Test
{
protected:
    TWindowsTestFolder Folder;
    std::string Shared = Folder.In("Mervane");
    TWin32FileSystem Files;
};

TEST_F(SharedFolderTest, EveryoneGetsTheFilesInsideButOnlyListsAndFillsTheFolder)
{
    Files.CreateSharedFolder(Shared);
    ASSERT_TRUE(Files.FolderExists(Shared));
    const std::string list = Shared + "\\list.dat";
    ASSERT_EQ(Files.ReplaceFile(list, "x").Failure, TFileWriteFailure::None);

    // Wine gives back a list made from the Unix mode bits, with no entry for Administrators.
    if (UnderWine() && AllowedFor(Shared, WinBuiltinAdministratorsSid).empty())
        GTEST_SKIP() << "Wine keeps no access list it was given, only Unix mode bits; the rights need Windows";
    const auto everyone = AllowedFor(Shared, WinWorldSid);
    const std::vector<TEntry> expected {
        { EveryoneOnFiles, OBJECT_INHERIT_ACE | INHERIT_ONLY_ACE },
        { EveryoneOnFolder, 0 },
    };
    EXPECT_EQ(everyone, expected);
    for (const auto& entry : everyone) {
        if (!(entry.Flags & INHERIT_ONLY_ACE)) {
            EXPECT_EQ(entry.Mask & (DELETE | WRITE_DAC | WRITE_OWNER | FILE_ADD_SUBDIRECTORY), 0u) << entry.Mask;
        }
    }
    const std::vector<TEntry> full { { FILE_ALL_ACCESS, OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE } };
    EXPECT_EQ(AllowedFor(Shared, WinBuiltinAdministratorsSid), full);
    EXPECT_EQ(AllowedFor(Shared, WinLocalSystemSid), full);
    // Whoever made it may do no more than anyone: not change its rights, say.
    const std::vector<TEntry> owner { { EveryoneOnFolder, 0 } };
    EXPECT_EQ(AllowedFor(Shared, WinCreatorOwnerRightsSid), owner);

    // The file inside has inherited Everyone's rights to it, and nothing of the folder's own.
    const std::vector<TEntry> onFile { { EveryoneOnFiles, INHERITED_ACE } };
    EXPECT_EQ(AllowedFor(list, WinWorldSid), onFile);
}

TEST_F(SharedFolderTest, FolderCannotBeRenamedWhileASaveIsUnderWay)
{
    Files.CreateSharedFolder(Shared);
    const std::wstring moved = Widen(Folder.In("moved"));
    {
        const auto lock = Files.LockSave(Shared + "\\list.dat");
        ASSERT_TRUE(lock.Lock);
        EXPECT_FALSE(MoveFileW(Widen(Shared).c_str(), moved.c_str())) << "a link could take its place";
    }
    EXPECT_TRUE(MoveFileW(Widen(Shared).c_str(), moved.c_str())) << GetLastError();
}

TEST_F(SharedFolderTest, RefusalOfALinkGivesTheUserAReasonOnEverySystem)
{
    // Windows describes the code itself; Wine has no text for it.
    const std::string reason = Files.SystemErrorMessage(static_cast<int>(FolderIsLinkError));
    EXPECT_NE(reason.find_first_not_of(" \r\n."), std::string::npos) << reason;
}

TEST_F(SharedFolderTest, SaveIntoAJunctionIsRefusedAndWritesNothingWhereItLeads)
{
    const std::string elsewhere = Folder.In("elsewhere");
    ASSERT_TRUE(CreateDirectoryW(Widen(elsewhere).c_str(), nullptr));
    if (const auto whyNot = MakeJunction(Widen(Shared), Widen(elsewhere)); !whyNot.empty())
        GTEST_SKIP() << "a junction is needed in place of the shared folder: " << whyNot;
    const std::string list = Shared + "\\list.dat";

    const auto lock = Files.LockSave(list);
    EXPECT_EQ(lock.Error, static_cast<int>(FolderIsLinkError));
    EXPECT_FALSE(lock.Lock);
    const auto replaced = Files.ReplaceFile(list, "x");
    EXPECT_EQ(replaced.Failure, TFileWriteFailure::Create);
    EXPECT_EQ(replaced.Error, static_cast<int>(FolderIsLinkError));

    // Through the list's own save, as the user meets it.
    TFakeListBox rows { TControlDecl {} };
    TComputerList computers(rows);
    computers.Append("pc1", std::nullopt);
    TFilesIn files(Folder.Path());
    TMergeBase base;
    try {
        SaveList(computers, files, base);
        ADD_FAILURE() << "the save went through the junction";
    } catch (const EOstrelError& error) {
        EXPECT_EQ(std::string(error.what()).rfind("Cannot open file \"" + list + "\". ", 0), 0u) << error.what();
    }
    RemoveDirectoryW(Widen(Shared).c_str());
    EXPECT_EQ(Folder.Entries(), std::vector<std::string> { "elsewhere" });
    EXPECT_TRUE(std::filesystem::is_empty(FsPath(elsewhere))) << "nothing was written where the junction leads";
}

} // namespace
