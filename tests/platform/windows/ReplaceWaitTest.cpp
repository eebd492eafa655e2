// A save meets a virus scanner or backup program that has the list open for a moment
// without sharing its deletion: the replace waits for it a short while, not forever.
#include "platform/windows/UniqueHandle.h"
#include "platform/windows/WideText.h"
#include "platform/windows/Win32FileSystem.h"
#include "WindowsTestFolder.h"

#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace {

using namespace std::chrono_literals;

// Opens path as a scanner does, reading and letting others read and write but not delete,
// and lets go after holdFor.
class TScanner
{
public:
    TScanner(const std::wstring& path, std::chrono::milliseconds holdFor)
        : m_file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr))
    {
        if (m_file)
            m_thread = std::thread([this, holdFor] {
                std::this_thread::sleep_for(holdFor);
                m_file = TUniqueHandle();
            });
    }
    ~TScanner()
    {
        if (m_thread.joinable())
            m_thread.join();
    }
    bool Holds() const { return m_thread.joinable(); }

private:
    TUniqueHandle m_file;
    std::thread m_thread;
};

class ReplaceWaitTest : public testing::Test
{
protected:
    std::string Content()
    {
        const auto read = Files.ReadFile(List, 1024);
        return read.Error == 0 ? read.Bytes : "error " + std::to_string(read.Error);
    }

    TWindowsTestFolder Folder;
    std::string List = Folder.In("list.dat");
    TWin32FileSystem Files;
};

TEST_F(ReplaceWaitTest, SaveWaitsForAScannerThatLetsGoWithinASecond)
{
    ASSERT_EQ(Files.ReplaceFile(List, "old").Failure, TFileWriteFailure::None);
    const TScanner scanner(Widen(List), 300ms);
    ASSERT_TRUE(scanner.Holds());

    const auto started = std::chrono::steady_clock::now();
    const auto result = Files.ReplaceFile(List, "new");
    EXPECT_EQ(result.Failure, TFileWriteFailure::None) << result.Error;
    EXPECT_GE(std::chrono::steady_clock::now() - started, 250ms) << "the scanner had it open";
    EXPECT_EQ(Content(), "new");
}

TEST_F(ReplaceWaitTest, SaveFailsAsBeforeWhenTheScannerHoldsOnLonger)
{
    ASSERT_EQ(Files.ReplaceFile(List, "old").Failure, TFileWriteFailure::None);
    const TScanner scanner(Widen(List), 1800ms);
    ASSERT_TRUE(scanner.Holds());

    const auto started = std::chrono::steady_clock::now();
    const auto result = Files.ReplaceFile(List, "new");
    const auto waited = std::chrono::steady_clock::now() - started;
    EXPECT_EQ(result.Failure, TFileWriteFailure::Create);
    EXPECT_EQ(result.Error, ERROR_SHARING_VIOLATION);
    EXPECT_GE(waited, 900ms);
    EXPECT_LT(waited, 1700ms) << "gave up after about a second";
    EXPECT_EQ(Folder.Entries(), std::vector<std::string> { "list.dat" }) << "no temporary file left";
    EXPECT_EQ(Content(), "old");
}

} // namespace
