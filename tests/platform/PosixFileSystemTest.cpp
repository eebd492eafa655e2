// What the POSIX file system meets that the contract tests cannot bring about on every
// backend: other users, mounts of its own, a pipe at the list's path; through the list's own
// load and save, as the program meets them.
#include "platform/posix/PosixFileSystem.h"

#include "FakeControls.h"
#include "list/ComputerList.h"
#include "list/ListFile.h"
#include "list/ListMerge.h"
#include "platform/OstrelError.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <grp.h>
#include <gtest/gtest.h>
#include <iterator>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr uid_t OtherUser = 4101;
constexpr uid_t ThirdUser = 4102;
constexpr const char* Skipped = "(skipped)";

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
    TMergeBase listBase;
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
    TMergeBase listBase;
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

    std::string Base;
    std::string Folder;
    std::string ListPath;
    TPosixFileSystem Files { "/unused" };
};

TEST_F(PosixFileSystemTest, ReadFileTakesUpToTheLimitAndTellsALongerFile)
{
    const std::string path = Base + "/read.dat";
    const std::string bytes = std::string(100'000, 'x') + "end";
    WriteAll(path, bytes);

    const auto whole = Files.ReadFile(path, bytes.size());
    EXPECT_EQ(whole.Error, 0);
    EXPECT_EQ(whole.Bytes, bytes);

    const auto cut = Files.ReadFile(path, bytes.size() - 1);
    EXPECT_EQ(cut.Error, EFBIG);
    EXPECT_EQ(cut.Bytes, bytes.substr(0, bytes.size() - 1));

    WriteAll(path, "");
    const auto empty = Files.ReadFile(path, 10);
    EXPECT_EQ(empty.Error, 0);
    EXPECT_EQ(empty.Bytes, "");
}

TEST_F(PosixFileSystemTest, ReadFileTakesAllOfAFileThatTellsNoSize)
{
    // The kernel's own files tell a size of 0; this one holds megabytes.
    const std::string path = "/proc/kallsyms";
    std::ifstream file(path, std::ios::binary);
    if (!file)
        GTEST_SKIP() << "no " << path;
    const std::string expected { std::istreambuf_iterator<char>(file), {} };
    const auto read = Files.ReadFile(path, 64 * 1024 * 1024);
    EXPECT_EQ(read.Error, 0);
    EXPECT_EQ(read.Bytes.size(), expected.size());
    EXPECT_TRUE(read.Bytes.ends_with('\n'));
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

TEST_F(PosixFileSystemTest, FolderAnotherUserCannotLookAtCountsAsThere)
{
    fs::create_directory(Base + "/closed");
    fs::create_directory(Base + "/closed/inner");
    chmod((Base + "/closed").c_str(), 0700);
    const auto seen = InChild({ OtherUser }, [&] { return Files.FolderExists(Base + "/closed/inner") ? "yes" : "no"; });
    if (seen == Skipped)
        GTEST_SKIP() << "cannot change user";
    EXPECT_EQ(seen, "yes");
}

TEST_F(PosixFileSystemTest, PipeInPlaceOfListFileIsNoFileAndNeverWaits)
{
    fs::create_directory(Folder);
    ASSERT_EQ(mkfifo(ListPath.c_str(), 0666), 0);
    EXPECT_EQ(Load(Base), "");
    EXPECT_EQ(Save(Base, { "a" }), "saved");
    EXPECT_EQ(Load(Base), "a");
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
