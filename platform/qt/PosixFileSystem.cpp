#include "platform/qt/PosixFileSystem.h"

#include "platform/CodePage.h"

TPosixFileSystem::TPosixFileSystem(std::string baseFolder)
    : m_baseFolder(std::move(baseFolder))
{
}

TPosixFileSystem::~TPosixFileSystem() = default;

std::string TPosixFileSystem::CommonDataFolder()
{
    return m_baseFolder;
}

bool TPosixFileSystem::FolderExists(const std::string&)
{
    return false;
}

void TPosixFileSystem::CreateSharedFolder(const std::string&) { }

bool TPosixFileSystem::FileExists(const std::string&)
{
    return false;
}

TFileReadResult TPosixFileSystem::ReadFile(const std::string&)
{
    return {};
}

TFileWriteResult TPosixFileSystem::ReplaceFile(const std::string&, std::string_view)
{
    return {};
}

const TCodePage& TPosixFileSystem::AnsiCodePage() const
{
    return *m_codePage;
}

std::string TPosixFileSystem::SystemErrorMessage(int) const
{
    return {};
}
