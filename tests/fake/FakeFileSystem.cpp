#include "FakeFileSystem.h"

void TFakeFileSystem::CreateSharedFolder(const std::string& path)
{
    if (!CanCreateFolders || Files.contains(path))
        return;
    Folders.insert(path);
    ++CreatedFolders;
}

TFileReadResult TFakeFileSystem::ReadFile(const std::string& path)
{
    if (ReadError != 0)
        return { ReadError, {} };
    return { 0, Files.at(path) };
}

TFileWriteResult TFakeFileSystem::ReplaceFile(const std::string& path, std::string_view bytes)
{
    if (WriteResult.Failure != TFileWriteFailure::None)
        return WriteResult;
    const auto slash = path.rfind('/');
    if (!Folders.contains(path.substr(0, slash)))
        return { TFileWriteFailure::Create, 2 };
    Files[path] = std::string(bytes);
    return {};
}
