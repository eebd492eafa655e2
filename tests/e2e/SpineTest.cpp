#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

const std::string Bom = "\xEF\xBB\xBF";

std::string ReadBytes(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

void WriteBytes(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// Each test gets a folder that stands for /var/lib in Ostrel's private mount namespace.
class SpineTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char folderTemplate[] = "/tmp/ostrel-spine-XXXXXX";
        ASSERT_NE(mkdtemp(folderTemplate), nullptr);
        m_dataFolder = folderTemplate;
    }

    void TearDown() override { fs::remove_all(m_dataFolder); }

    fs::path ListFile() const { return m_dataFolder / "Mervane" / "list.dat"; }

    // Starts the real program, waits for its window, ends it with SIGTERM; its exit status
    // (125: the window shown was replaced by another while it ran).
    int RunSession() const
    {
        const std::string command = std::string("'") + SPINE_SESSION + "' '" + OSTREL_BINARY + "' '"
            + m_dataFolder.string() + "' '" + StderrFile().string() + "'";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // What the program wrote on stderr in the last session: nothing, as it keeps no log.
    std::string Stderr() const { return ReadBytes(StderrFile()); }

private:
    fs::path StderrFile() const { return m_dataFolder / "stderr.txt"; }

    fs::path m_dataFolder;
};

TEST_F(SpineTest, FirstRunCreatesSharedFolderAndWritesEmptyListOnSigterm)
{
    ASSERT_EQ(RunSession(), 0);

    EXPECT_EQ(Stderr(), "");
    EXPECT_EQ(ReadBytes(ListFile()), Bom + "[General]\r\nComputers=0\r\n\r\n");
    EXPECT_EQ(fs::status(ListFile().parent_path()).permissions(), fs::perms::all);
}

TEST_F(SpineTest, ThreeEntriesComeBackAndAreWrittenAgainUnchanged)
{
    const std::string list = Bom
        + "[General]\r\nComputers=3\r\n\r\n"
          "[0]\r\nName=John-PC:8080\r\n\r\n"
          "[1]\r\nName=http://b\xC3\xBCro:80\r\n\r\n"
          "[2]\r\nName=http://10.0.0.7:8081\r\n\r\n";
    fs::create_directories(ListFile().parent_path());
    WriteBytes(ListFile(), list);
    const auto writtenBefore = fs::last_write_time(ListFile());

    ASSERT_EQ(RunSession(), 0);

    EXPECT_EQ(ReadBytes(ListFile()), list);
    EXPECT_NE(fs::last_write_time(ListFile()), writtenBefore) << "the list was saved at the end";
}

} // namespace
