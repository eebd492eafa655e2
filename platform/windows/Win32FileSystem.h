#pragma once

#include "platform/FileSystem.h"

#include <memory>

// Files and folders through the Win32 API. Paths are UTF-8 here and UTF-16 for Windows;
// the sharing rules are the share modes every copy of Ostrel opens the files with.
class TWin32FileSystem : public TFileSystem
{
public:
    TWin32FileSystem();
    ~TWin32FileSystem() override;

    std::string CommonDataFolder() override;
    bool FolderExists(const std::string& path) override;
    void CreateSharedFolder(const std::string& path) override;
    bool FileExists(const std::string& path) override;
    TFileReadResult ReadFile(const std::string& path, std::size_t limit) override;
    TSaveLockResult LockSave(const std::string& path) override;
    TFileWriteResult ReplaceFile(const std::string& path, std::string_view bytes) override;
    char PathSeparator() const override { return '\\'; }
    const TCodePage& AnsiCodePage() const override;
    std::string SystemErrorMessage(int error) const override;

private:
    std::unique_ptr<TCodePage> m_codePage;
};
