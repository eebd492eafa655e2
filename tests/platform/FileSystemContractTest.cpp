// The file system's contract, on whichever backend this program was built for.
#include "ContractBackend.h"
#include "ContractPaths.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <gtest/gtest.h>
#include <iostream>
#include <vector>

namespace {

namespace fs = std::filesystem;

// A limit no file of these tests comes near.
constexpr std::size_t AnyFile = 1 << 20;

void WriteRaw(const std::string& path, const std::string& bytes)
{
    std::ofstream(FsPath(path), std::ios::binary) << bytes;
}

class FileSystemContract : public testing::Test
{
protected:
    void SetUp() override
    {
        Folder = Backend.NewFolder();
        ListPath = In(Folder, "list.dat");
    }

    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(FsPath(Folder), ignored);
    }

    std::string In(const std::string& folder, const std::string& name) const
    {
        return folder + Files.PathSeparator() + name;
    }

    // The names in folder, sorted.
    static std::vector<std::string> Entries(const std::string& folder)
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(FsPath(folder)))
            names.push_back(Utf8(entry.path().filename()));
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string Content(const std::string& path)
    {
        const auto read = Files.ReadFile(path, AnyFile);
        return read.Error == 0 ? read.Bytes : "error " + std::to_string(read.Error);
    }

    TContractBackend& Backend = ContractBackend();
    TFileSystem& Files = Backend.Files();
    std::string Folder;
    std::string ListPath;
};

TEST_F(FileSystemContract, CommonDataFolderIsAnExistingFolder)
{
    const std::string common = Files.CommonDataFolder();
    ASSERT_FALSE(common.empty());
    EXPECT_TRUE(Files.FolderExists(common)) << common;
}

TEST_F(FileSystemContract, SharedFolderLetsEveryoneReadAndWriteAndFilesInsideInheritIt)
{
    const std::string shared = In(Folder, "Mervane");
    Files.CreateSharedFolder(shared);
    ASSERT_TRUE(Files.FolderExists(shared));
    EXPECT_FALSE(Files.FileExists(shared));
    Files.CreateSharedFolder(shared);
    EXPECT_TRUE(Files.FolderExists(shared)) << "making it again does no harm";

    const std::string list = In(shared, "list.dat");
    ASSERT_EQ(Files.ReplaceFile(list, "x").Failure, TFileWriteFailure::None);
    for (const auto& path : { shared, list }) {
        const auto everyone = Backend.EveryoneAccess(path);
        EXPECT_TRUE(everyone.Read) << path;
        if (everyone.Write.Value) {
            EXPECT_TRUE(*everyone.Write.Value) << path;
        } else {
            std::cout << "not checked, that everyone may write " << path << ": " << everyone.Write.WhyNot << '\n';
        }
    }
}

TEST_F(FileSystemContract, FolderTestFollowsTheExistingFolderRules)
{
    fs::create_directory(FsPath(In(Folder, "sub")));
    WriteRaw(In(Folder, "file"), "x");

    EXPECT_TRUE(Files.FolderExists(In(Folder, "sub")));
    EXPECT_FALSE(Files.FolderExists(In(Folder, "missing")));
    EXPECT_FALSE(Files.FolderExists(In(Folder, "file")));
    EXPECT_FALSE(Files.FolderExists(In(In(Folder, "file"), "below")));
    // A name Windows calls invalid, and merely missing elsewhere: either way no folder.
    EXPECT_FALSE(Files.FolderExists(In(Folder, "bad<name>|")));
    EXPECT_FALSE(Files.FolderExists(""));
    EXPECT_TRUE(Files.FileExists(In(Folder, "file")));
    EXPECT_FALSE(Files.FileExists(In(Folder, "sub")));
    EXPECT_FALSE(Files.FileExists(In(Folder, "missing")));

    Files.CreateSharedFolder(In(In(Folder, "missing"), "Mervane"));
    EXPECT_FALSE(Files.FolderExists(In(Folder, "missing"))) << "only the last component is made";
}

TEST_F(FileSystemContract, FolderBehindALinkCountsOnlyWhileItCanBeReached)
{
    const std::string target = In(Folder, "target");
    fs::create_directory(FsPath(target));
    if (const auto whyNot = Backend.LinkFolder(In(Folder, "link"), target); !whyNot.empty())
        GTEST_SKIP() << whyNot;
    EXPECT_TRUE(Files.FolderExists(In(Folder, "link")));
    fs::remove(FsPath(target));
    EXPECT_FALSE(Files.FolderExists(In(Folder, "link")));
}

TEST_F(FileSystemContract, ReplaceLeavesExactlyTheNewBytesAndNoTemporaryFile)
{
    const std::string steps[] = {
        "first\r\n", std::string(100000, 'L'), "shorter", "", std::string("nul \0 and \xFF\r\n", 13),
    };
    for (const auto& bytes : steps) {
        const auto result = Files.ReplaceFile(ListPath, bytes);
        ASSERT_EQ(result.Failure, TFileWriteFailure::None) << result.Error;
        EXPECT_EQ(Content(ListPath), bytes);
        EXPECT_EQ(Entries(Folder), std::vector<std::string> { "list.dat" });
    }
}

TEST_F(FileSystemContract, NamesOutsideAsciiReachTheFilesOfThoseNames)
{
    const std::string shared = In(Folder, "Büro Ω");
    Files.CreateSharedFolder(shared);
    ASSERT_TRUE(Files.FolderExists(shared));
    const std::string list = In(shared, "liste ü.dat");
    ASSERT_EQ(Files.ReplaceFile(list, "x").Failure, TFileWriteFailure::None);
    EXPECT_TRUE(Files.FileExists(list));
    EXPECT_EQ(Content(list), "x");
    EXPECT_EQ(Entries(Folder), std::vector<std::string> { "Büro Ω" });
    EXPECT_EQ(Entries(shared), std::vector<std::string> { "liste ü.dat" });
}

TEST_F(FileSystemContract, ReadersShareTheFileButKeepWritersOut)
{
    ASSERT_EQ(Files.ReplaceFile(ListPath, "old").Failure, TFileWriteFailure::None);
    auto reader = Backend.HoldForReading(ListPath);
    ASSERT_TRUE(reader);

    EXPECT_EQ(Content(ListPath), "old");
    const auto result = Files.ReplaceFile(ListPath, "new");
    EXPECT_EQ(result.Failure, TFileWriteFailure::Create);
    EXPECT_TRUE(Backend.MeansInUse(result.Error)) << result.Error;
    EXPECT_FALSE(Files.SystemErrorMessage(result.Error).empty());
    EXPECT_EQ(Content(ListPath), "old");
    EXPECT_EQ(Entries(Folder), std::vector<std::string> { "list.dat" });

    reader.reset();
    EXPECT_EQ(Files.ReplaceFile(ListPath, "new").Failure, TFileWriteFailure::None);
    EXPECT_EQ(Content(ListPath), "new");
}

TEST_F(FileSystemContract, FileBeingWrittenFailsAtOnceForReadersAndWriters)
{
    ASSERT_EQ(Files.ReplaceFile(ListPath, "old").Failure, TFileWriteFailure::None);
    auto writer = Backend.HoldForWriting(ListPath);
    ASSERT_TRUE(writer);

    const auto started = std::chrono::steady_clock::now();
    const auto read = Files.ReadFile(ListPath, AnyFile);
    const auto replaced = Files.ReplaceFile(ListPath, "new");
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2)) << "a locked file never waits";
    EXPECT_TRUE(Backend.MeansInUse(read.Error)) << read.Error;
    EXPECT_EQ(replaced.Failure, TFileWriteFailure::Create);
    EXPECT_TRUE(Backend.MeansInUse(replaced.Error)) << replaced.Error;

    writer.reset();
    EXPECT_EQ(Content(ListPath), "old");
    EXPECT_EQ(Entries(Folder), std::vector<std::string> { "list.dat" });
}

TEST_F(FileSystemContract, MissingFileOrFolderGivesTheSystemsReason)
{
    const auto read = Files.ReadFile(In(Folder, "missing"), AnyFile);
    EXPECT_NE(read.Error, 0);
    EXPECT_FALSE(Files.SystemErrorMessage(read.Error).empty());

    const auto replaced = Files.ReplaceFile(In(In(Folder, "missing"), "list.dat"), "x");
    EXPECT_EQ(replaced.Failure, TFileWriteFailure::Create);
    EXPECT_NE(replaced.Error, 0);
    EXPECT_TRUE(Entries(Folder).empty());

    // A file where the folder should be: nothing to read, nothing written, the file left alone.
    const std::string notAFolder = In(Folder, "Mervane");
    WriteRaw(notAFolder, "not a folder");
    EXPECT_NE(Files.ReadFile(In(notAFolder, "list.dat"), AnyFile).Error, 0);
    const auto overFile = Files.ReplaceFile(In(notAFolder, "list.dat"), "x");
    EXPECT_EQ(overFile.Failure, TFileWriteFailure::Create);
    EXPECT_NE(overFile.Error, 0);
    EXPECT_EQ(Content(notAFolder), "not a folder");
    EXPECT_EQ(Entries(Folder), std::vector<std::string> { "Mervane" });
}

TEST_F(FileSystemContract, SaveRemovesWhatKilledSavesLeftButNotASaveUnderWay)
{
    const std::string leftover = Backend.TemporaryFileOf(ListPath, 1);
    const std::string running = Backend.TemporaryFileOf(ListPath, 2);
    // Files of other programs, or of the user, whose names are alike but not the same.
    const std::string others[] = {
        Backend.TemporaryFileOf(In(Folder, "other.dat"), 1),
        leftover + ".bak",
        leftover.substr(0, leftover.size() - 1),
        In(Folder, "list.dat.old"),
        In(Folder, "list.dat.mine.tmp"),
    };
    WriteRaw(leftover, "half a list");
    WriteRaw(running, "half a list");
    for (const auto& path : others)
        WriteRaw(path, "not ours");
    const auto name = [](const std::string& path) { return Utf8(FsPath(path).filename()); };
    std::vector<std::string> kept { "list.dat" };
    for (const auto& path : others)
        kept.push_back(name(path));
    std::sort(kept.begin(), kept.end());

    // While another save is under way, its file stays; the killed save's file may wait.
    auto underWay = Backend.HoldAsSaveUnderWay(running);
    ASSERT_TRUE(underWay);
    ASSERT_EQ(Files.ReplaceFile(ListPath, "new").Failure, TFileWriteFailure::None);
    EXPECT_EQ(Content(ListPath), "new");
    for (const auto& path : others)
        EXPECT_TRUE(Files.FileExists(path)) << path;
    underWay.reset();
    EXPECT_EQ(Content(running), "half a list") << "nor was it marked to go once its save lets go of it";

    // Once no save is under way, what the killed saves left goes with the next save.
    ASSERT_EQ(Files.ReplaceFile(ListPath, "newer").Failure, TFileWriteFailure::None);
    EXPECT_EQ(Content(ListPath), "newer");
    EXPECT_EQ(Entries(Folder), kept);
}

TEST_F(FileSystemContract, FullDiskGivesTheWriteFailureAndKeepsTheOldFile)
{
    const auto disk = Backend.SmallDiskFolder();
    if (!disk.Value)
        GTEST_SKIP() << disk.WhyNot;
    const std::string folder = *disk.Value;
    const std::string list = In(folder, "list.dat");
    ASSERT_EQ(Files.ReplaceFile(list, "old entry").Failure, TFileWriteFailure::None);

    const auto result = Files.ReplaceFile(list, std::string(200 * 1024, 'x'));
    EXPECT_EQ(result.Failure, TFileWriteFailure::Write);
    EXPECT_NE(result.Error, 0);
    EXPECT_EQ(Content(list), "old entry");
    EXPECT_EQ(Entries(folder), std::vector<std::string> { "list.dat" });
    std::error_code ignored;
    fs::remove_all(FsPath(folder), ignored);
}

} // namespace
