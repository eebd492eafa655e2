#include "list/ListFile.h"

#include "list/ComputerList.h"
#include "list/ListFileFormat.h"
#include "platform/FileSystem.h"
#include "platform/OstrelError.h"

#include <exception>

namespace {

constexpr std::string_view DataFolderName = "Mervane";
constexpr std::string_view ListFileName = "list.dat";

std::string Child(const std::string& folder, std::string_view name, char separator)
{
    return folder + separator + std::string(name);
}

// The system's text without the trailing spaces, line breaks and full stops it may carry.
std::string Reason(const TFileSystem& files, int error)
{
    std::string text = files.SystemErrorMessage(error);
    const auto end = text.find_last_not_of(" \r\n.");
    text.erase(end == std::string::npos ? 0 : end + 1);
    return text;
}

[[noreturn]] void ThrowFileError(std::string_view what, const std::string& path, const std::string& reason)
{
    throw EOstrelError(std::string(what) + " \"" + path + "\". " + reason);
}

// The list file's bytes; a missing file (or a folder in its place) reads as empty.
std::string ReadListFile(TFileSystem& files, const std::string& path)
{
    if (!files.FileExists(path))
        return {};
    auto read = files.ReadFile(path);
    if (read.Error != 0)
        ThrowFileError("Cannot open file", path, Reason(files, read.Error));
    return std::move(read.Bytes);
}

struct TSaveTarget
{
    std::string Path;
    TTextEncoding Encoding = TTextEncoding::Ansi;
};

// Where the list is saved, in the encoding of the file it replaces.
TSaveTarget SaveTarget(TFileSystem& files)
{
    const char separator = files.PathSeparator();
    const std::string subFolder = separator + std::string(DataFolderName);
    const std::string folder = GetDataFolder(files, subFolder);
    if (!folder.empty()) {
        const std::string path = Child(folder, ListFileName, separator);
        // Reading first settles the encoding, and refuses to replace a file it cannot read.
        return { path, ListFileEncoding(ReadListFile(files, path), files.AnsiCodePage()) };
    }
    const std::string base = files.CommonDataFolder();
    if (base.empty())
        ThrowFileError("Cannot create file", Child(subFolder, ListFileName, separator),
                       "The folder for the data of all users cannot be found");
    // Never fall back to another place: writing where the folder should be fails with
    // the system's own reason, or succeeds should the folder have appeared meanwhile.
    return { Child(base + subFolder, ListFileName, separator) };
}

} // namespace

std::string GetDataFolder(TFileSystem& files, const std::string& subFolder)
{
    try {
        const std::string base = files.CommonDataFolder();
        if (base.empty())
            return {};
        const std::string path = base + subFolder;
        if (!files.FolderExists(path))
            files.CreateSharedFolder(path);
        return files.FolderExists(path) ? path : std::string();
    } catch (const std::exception&) {
        return {};
    }
}

void LoadList(TComputerList& list, TFileSystem& files)
{
    const char separator = files.PathSeparator();
    const std::string folder = GetDataFolder(files, separator + std::string(DataFolderName));
    // Without the shared folder there is no list file to read.
    if (folder.empty())
        return;
    const auto bytes = ReadListFile(files, Child(folder, ListFileName, separator));
    for (const auto& text : ParseListFile(bytes, files.AnsiCodePage()).Entries)
        list.Append(text, TInfo(false));
}

void SaveList(const TComputerList& list, TFileSystem& files)
{
    const auto target = SaveTarget(files);
    std::vector<std::string> entries;
    entries.reserve(static_cast<std::size_t>(list.Count()));
    for (int i = 0; i < list.Count(); ++i)
        entries.push_back(list.Text(i));
    const auto result = files.ReplaceFile(target.Path, FormatListFile(entries, target.Encoding, files.AnsiCodePage()));
    switch (result.Failure) {
    case TFileWriteFailure::None:
        return;
    case TFileWriteFailure::Create:
        ThrowFileError("Cannot create file", target.Path, Reason(files, result.Error));
    case TFileWriteFailure::Write:
        throw EOstrelError("Stream write error");
    }
}
