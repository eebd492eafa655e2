#include "FakeFileSystem.h"

void TFakeFileSystem::CreateSharedFolder(const std::string& path)
{
    if (!CanCreateFolders || Files.contains(path))
        return;
    Folders.insert(path);
    ++CreatedFolders;
}

namespace {

class TFakeSaveLock : public TSaveLock
{
public:
    explicit TFakeSaveLock(int& held)
        : m_held(held)
    {
        ++m_held;
    }
    ~TFakeSaveLock() override { --m_held; }

private:
    int& m_held;
};

} // namespace

TFileReadResult TFakeFileSystem::ReadFile(const std::string& path, std::size_t limit)
{
    if (ReadError != 0)
        return { ReadError, {} };
    const std::string& bytes = Files.at(path);
    if (bytes.size() > limit)
        return { TooLargeError, bytes.substr(0, limit) };
    return { 0, bytes };
}

TSaveLockResult TFakeFileSystem::LockSave(const std::string&)
{
    if (SaveLockError != 0)
        return { SaveLockError, nullptr };
    return { 0, std::make_unique<TFakeSaveLock>(SaveLocksHeld) };
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
