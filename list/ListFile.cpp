#include "list/ListFile.h"

#include "list/ComputerList.h"
#include "platform/FileSystem.h"

std::string GetDataFolder(TFileSystem& files, const std::string& subFolder)
{
    (void)files;
    (void)subFolder;
    return {};
}

void LoadList(TComputerList& list, TFileSystem& files)
{
    (void)list;
    (void)files;
}

void SaveList(const TComputerList& list, TFileSystem& files)
{
    (void)list;
    (void)files;
}
