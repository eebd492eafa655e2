#pragma once

#include "platform/FileSystem.h"

#include <memory>
#include <string>

// Files and folders on a POSIX system. The all-users data folder is baseFolder
// (/var/lib for the program); sharing rules are advisory flock locks.
class TPosixFileSystem : public TFileSystem
{
public:
    explicit TPosixFileSystem(std::string baseFolder);
    ~TPosixFileSystem() override;

    std::string CommonDataFolder() override;
    bool FolderExists(const std::string& path) override;
    void CreateSharedFolder(const std::string& path) override;
    bool FileExists(const std::string& path) override;
    TFileReadResult ReadFile(const std::string& path, std::size_t limit) override;
    TSaveLockResult LockSave(const std::string& path) override;
    TFileWriteResult ReplaceFile(const std::string& path, std::string_view bytes) override;
    char PathSeparator() const override { return '/'; }
    const TCodePage& AnsiCodePage() const override;
    std::string SystemErrorMessage(int error) const override;

private:
    std::string m_baseFolder;
    std::unique_ptr<TCodePage> m_codePage;
};
