#pragma once

#include "FakeCodePage.h"
#include "platform/FileSystem.h"

#include <map>
#include <set>
#include <string>

// Folders and files in memory, with '/' as separator. Failures are set up by the test.
class TFakeFileSystem : public TFileSystem
{
public:
    // The error of a file longer than its reader's limit.
    static constexpr int TooLargeError = 27;

    std::string CommonDataFolder() override { return BaseFolder; }
    bool FolderExists(const std::string& path) override { return Folders.contains(path); }
    void CreateSharedFolder(const std::string& path) override;
    bool FileExists(const std::string& path) override { return Files.contains(path); }
    TFileReadResult ReadFile(const std::string& path, std::size_t limit) override;
    TSaveLockResult LockSave(const std::string& path) override;
    TFileWriteResult ReplaceFile(const std::string& path, std::string_view bytes) override;
    char PathSeparator() const override { return '/'; }
    const TCodePage& AnsiCodePage() const override { return *CodePage; }
    std::string SystemErrorMessage(int error) const override
    {
        return "System error " + std::to_string(error) + ".\r\n";
    }

    std::string BaseFolder = "/data";
    std::set<std::string> Folders { "/data" };
    std::map<std::string, std::string> Files;
    bool CanCreateFolders = true;
    // Non-zero: reading any file fails with this error.
    int ReadError = 0;
    // Non-zero: the save lock is held elsewhere for longer than a save waits, with this error.
    int SaveLockError = 0;
    // Saves that hold the lock now.
    int SaveLocksHeld = 0;
    // Replacing a file fails like this, leaving the old file.
    TFileWriteResult WriteResult;
    int CreatedFolders = 0;
    TFakeCodePage Latin1;
    const TCodePage* CodePage = &Latin1;
};
