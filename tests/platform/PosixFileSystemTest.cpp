#include "platform/posix/PosixFileSystem.h"

#include "FakeControls.h"
#include "list/ComputerList.h"
#include "list/ListFile.h"
#include "list/ListMerge.h"
#include "platform/OstrelError.h"

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <grp.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr uid_t OtherUser = 4101;
constexpr uid_t ThirdUser = 4102;
constexpr const char* Skipped = "(skipped)";

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return { std::istreambuf_iterator<char>(in), {} };
}

void WriteAll(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// What a list saved or loaded through the real file system gives: its texts, or the error.
std::string Save(const std::string& base, const std::vector<std::string>& texts)
{
    TFakeListBox rows { TControlDecl {} };
    TComputerList list(rows);
    for (const auto& text : texts)
        list.Append(text, std::nullopt);
    TPosixFileSystem files(base);
    TListBase listBase;
    try {
        SaveList(list, files, listBase);
        return "saved";
    } catch (const EOstrelError& error) {
        return error.what();
    }
}

std::string Load(const std::string& base)
{
    TFakeListBox rows { TControlDecl {} };
    TComputerList list(rows);
    TPosixFileSystem files(base);
    TListBase listBase;
    try {
        LoadList(list, files, listBase);
    } catch (const EOstrelError& error) {
        return error.what();
    }
    std::string texts;
    for (int i = 0; i < list.Count(); ++i)
        texts += (i ? "," : "") + list.Text(i);
    return texts;
}

struct TChildOptions
{
    std::optional<uid_t> User;
    bool OwnMounts = false;
};

// Runs body in a child process, as another user or in a mount namespace of its own, and
// gives back what it returned; Skipped when the system does not allow the set-up.
std::string InChild(TChildOptions options, const std::function<std::string()>& body)
{
    int channel[2];
    if (pipe(channel) != 0)
        return "pipe failed";
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        std::string result = Skipped;
        const bool ready
            = (!options.OwnMounts
               || (unshare(CLONE_NEWNS) == 0 && mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0))
            && (!options.User
                || (setgroups(0, nullptr) == 0 && setgid(*options.User) == 0 && setuid(*options.User) == 0));
        if (ready)
            result = body();
        (void)!write(channel[1], result.data(), result.size());
        _exit(0);
    }
    close(channel[1]);
    std::string result;
    char buffer[4096];
    for (ssize_t got; (got = read(channel[0], buffer, sizeof buffer)) > 0;)
        result.append(buffer, static_cast<std::size_t>(got));
    close(channel[0]);
    waitpid(child, nullptr, 0);
    return result;
}

class PosixFileSystemTest : public testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/ostrel-list-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        Base = pattern;
        // Other users must reach the shared folder inside.
        chmod(Base.c_str(), 0755);
        Folder = Base + "/Mervane";
        ListPath = Folder + "/list.dat";
    }

    void TearDown() override { fs::remove_all(Base); }

    std::vector<std::string> FolderEntries() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(Folder))
            names.push_back(entry.path().filename());
        return names;
    }

    std::string Base;
    std::string Folder;
    std::string ListPath;
    TPosixFileSystem Files { "/unused" };
};

TEST_F(PosixFileSystemTest, FirstLoadCreatesSharedFolderAndFirstSaveTheFile)
{
    EXPECT_EQ(Load(Base), "");
    struct stat info
    {
    };
    ASSERT_EQ(stat(Folder.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0777u);

    ASSERT_EQ(Save(Base, { "John-PC:8080", "Büro:1" }), "saved");
    EXPECT_EQ(ReadAll(ListPath),
              "\xEF\xBB\xBF[General]\r\nComputers=2\r\n\r\n[0]\r\nName=John-PC:8080\r\n\r\n"
              "[1]\r\nName=Büro:1\r\n\r\n");
    EXPECT_EQ(Load(Base), "John-PC:8080,Büro:1");
    EXPECT_EQ(FolderEntries(), std::vector<std::string> { "list.dat" });
}

TEST_F(PosixFileSystemTest, FilesInSharedFolderIgnoreTheCreatorsUmask)
{
    const mode_t previous = umask(077);
    Files.CreateSharedFolder(Folder);
    const auto result = Files.ReplaceFile(ListPath, "x");
    umask(previous);
    ASSERT_EQ(result.Failure, TFileWriteFailure::None);
    struct stat info
    {
    };
    ASSERT_EQ(stat(ListPath.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0666, 0666u);
}

TEST_F(PosixFileSystemTest, ListSavedByOneUserIsLoadedAndSavedByAnother)
{
    ASSERT_EQ(Load(Base), "");
    const auto first = InChild({ OtherUser }, [&] {
        umask(077);
        return Save(Base, { "a", "b" });
    });
    if (first == Skipped)
        GTEST_SKIP() << "cannot change user";
    ASSERT_EQ(first, "saved");
    EXPECT_EQ(InChild({ ThirdUser }, [&] { return Load(Base); }), "a,b");
    EXPECT_EQ(InChild({ ThirdUser }, [&] { return Save(Base, { "c" }); }), "saved");
    // A copy that loaded nothing keeps what the file holds.
    EXPECT_EQ(InChild({ OtherUser }, [&] { return Load(Base); }), "a,b,c");
}

TEST_F(PosixFileSystemTest, FolderTestFollowsTheExistingFolderRules)
{
    fs::create_directory(Folder);
    WriteAll(Base + "/file", "x");
    fs::create_directory_symlink(Folder, Base + "/link");
    fs::create_directory_symlink(Base + "/gone", Base + "/dangling");
    fs::create_directory(Base + "/closed");
    fs::create_directory(Base + "/closed/inner");
    chmod((Base + "/closed").c_str(), 0700);

    EXPECT_TRUE(Files.FolderExists(Folder));
    EXPECT_TRUE(Files.FolderExists(Base + "/link"));
    EXPECT_FALSE(Files.FolderExists(Base + "/missing"));
    EXPECT_FALSE(Files.FolderExists(Base + "/file"));
    EXPECT_FALSE(Files.FolderExists(Base + "/file/below"));
    EXPECT_FALSE(Files.FolderExists(Base + "/dangling"));
    EXPECT_FALSE(Files.FileExists(Folder));
    const auto unreadable
        = InChild({ OtherUser }, [&] { return Files.FolderExists(Base + "/closed/inner") ? "yes" : "no"; });
    if (unreadable != Skipped) {
        EXPECT_EQ(unreadable, "yes") << "a folder that cannot be looked at counts as there";
    }
}

TEST_F(PosixFileSystemTest, FileInPlaceOfFolderGivesEmptyListAndCreateError)
{
    WriteAll(Folder, "not a folder");
    EXPECT_EQ(Load(Base), "");
    EXPECT_EQ(Save(Base, { "a" }), "Cannot create file \"" + ListPath + "\". Not a directory");
    EXPECT_EQ(ReadAll(Folder), "not a folder");
}

TEST_F(PosixFileSystemTest, PipeInPlaceOfListFileIsNoFileAndNeverWaits)
{
    fs::create_directory(Folder);
    ASSERT_EQ(mkfifo(ListPath.c_str(), 0666), 0);
    EXPECT_EQ(Load(Base), "");
    EXPECT_EQ(Save(Base, { "a" }), "saved");
    EXPECT_EQ(Load(Base), "a");
}

TEST_F(PosixFileSystemTest, LockedFileFailsAtOnceAndStaysWhole)
{
    ASSERT_EQ(Save(Base, { "kept" }), "saved");
    const std::string before = ReadAll(ListPath);
    const int other = open(ListPath.c_str(), O_RDONLY);
    ASSERT_GE(other, 0);

    ASSERT_EQ(flock(other, LOCK_SH), 0);
    EXPECT_EQ(Load(Base), "kept") << "readers share the file";
    EXPECT_EQ(Save(Base, { "new" }), "Cannot create file \"" + ListPath + "\". Resource temporarily unavailable");

    ASSERT_EQ(flock(other, LOCK_EX), 0);
    EXPECT_EQ(Load(Base), "Cannot open file \"" + ListPath + "\". Resource temporarily unavailable");
    EXPECT_EQ(Save(Base, { "new" }), "Cannot open file \"" + ListPath + "\". Resource temporarily unavailable");

    close(other);
    EXPECT_EQ(ReadAll(ListPath), before);
    EXPECT_EQ(FolderEntries(), std::vector<std::string> { "list.dat" });
}

TEST_F(PosixFileSystemTest, KilledSavesLeftoverGoesWithTheNextSave)
{
    Files.CreateSharedFolder(Folder);
    const std::vector<std::string> notOurs = { ".list.dat.12.0", ".list.dat.saving.12", ".list.dat.saving.12.0.bak",
                                               ".other.dat.saving.12.0", "list.dat.saving.12.0" };
    for (const auto& name : notOurs)
        WriteAll(Folder + "/" + name, "not ours");
    WriteAll(Folder + "/.list.dat.saving.12.0", "[General]\r\nComputers=1\r\n");

    ASSERT_EQ(Files.ReplaceFile(ListPath, "new").Failure, TFileWriteFailure::None);

    auto names = FolderEntries();
    std::sort(names.begin(), names.end());
    auto expected = notOurs;
    expected.push_back("list.dat");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names, expected);
}

TEST_F(PosixFileSystemTest, TemporaryFileOfASaveUnderWayIsKept)
{
    // Another copy's save holds the folder's lock shared while its temporary file exists.
    Files.CreateSharedFolder(Folder);
    const int otherSave = open(Folder.c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_EQ(flock(otherSave, LOCK_SH), 0);
    WriteAll(Folder + "/.list.dat.saving.12.0", "being written");

    const auto result = Files.ReplaceFile(ListPath, "new");
    close(otherSave);

    EXPECT_EQ(result.Failure, TFileWriteFailure::None);
    EXPECT_EQ(ReadAll(Folder + "/.list.dat.saving.12.0"), "being written");
    EXPECT_EQ(ReadAll(ListPath), "new");
}

TEST_F(PosixFileSystemTest, FullDiskGivesStreamWriteErrorAndKeepsOldFile)
{
    const auto result = InChild({ .User = std::nullopt, .OwnMounts = true }, [&]() -> std::string {
        fs::create_directory(Folder);
        if (mount("tmpfs", Folder.c_str(), "tmpfs", 0, "size=64k,mode=0777") != 0)
            return Skipped;
        if (Save(Base, { "old entry" }) != "saved")
            return "first save failed";
        const std::string before = ReadAll(ListPath);
        // Fill the disk but for a little room.
        WriteAll(Folder + "/filler", std::string(60 * 1024, 'x'));
        const std::string outcome = Save(Base, std::vector<std::string>(1000, "http://some-long-computer-name:8080"));
        bool temporaryLeft = false;
        for (const auto& entry : fs::directory_iterator(Folder))
            temporaryLeft = temporaryLeft || entry.path().filename().string().starts_with(".list.dat");
        return outcome + (ReadAll(ListPath) == before ? ", file whole" : ", file changed")
            + (temporaryLeft ? ", temporary file left" : "");
    });
    if (result == Skipped)
        GTEST_SKIP() << "no private mount namespace";
    EXPECT_EQ(result, "Stream write error, file whole");
}

TEST_F(PosixFileSystemTest, UnwritableFolderGivesCreateErrorAndKeepsOldFile)
{
    fs::create_directory(Folder);
    chmod(Folder.c_str(), 0755);
    WriteAll(ListPath, "[General]\r\nComputers=1\r\n\r\n[0]\r\nName=kept\r\n\r\n");
    chmod(ListPath.c_str(), 0644);

    const auto result = InChild({ OtherUser }, [&] { return Save(Base, { "new" }); });
    if (result == Skipped)
        GTEST_SKIP() << "cannot change user";
    EXPECT_EQ(result, "Cannot create file \"" + ListPath + "\". Permission denied");
    EXPECT_EQ(Load(Base), "kept");
}

TEST_F(PosixFileSystemTest, ReadOnlyMountGivesCreateErrorAndKeepsOldFile)
{
    ASSERT_EQ(Save(Base, { "kept" }), "saved");
    const auto result = InChild({ .User = std::nullopt, .OwnMounts = true }, [&]() -> std::string {
        if (mount(Folder.c_str(), Folder.c_str(), nullptr, MS_BIND, nullptr) != 0
            || mount(nullptr, Folder.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0)
            return Skipped;
        return Save(Base, { "new" });
    });
    if (result == Skipped)
        GTEST_SKIP() << "no private mount namespace";
    EXPECT_EQ(result, "Cannot create file \"" + ListPath + "\". Read-only file system");
    EXPECT_EQ(Load(Base), "kept");
}

} // namespace
