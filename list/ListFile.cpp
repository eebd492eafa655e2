#include "list/ListFile.h"

#include "list/ComputerList.h"
#include "list/ListFileFormat.h"
#include "list/ListMerge.h"
#include "list/TextCodec.h"
#include "platform/FileSystem.h"
#include "platform/OstrelError.h"

#include <exception>
#include <memory>
#include <optional>

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

// Far beyond any real list: a longer file is refused rather than taken into memory.
constexpr std::size_t MaxListFileBytes = 64 * 1024 * 1024;

// What the list file holds; none when there is no file (a folder in its place counts as none).
std::optional<TListFileContent> ReadListFile(TFileSystem& files, const std::string& path)
{
    if (!files.FileExists(path))
        return std::nullopt;
    const auto read = files.ReadFile(path, MaxListFileBytes);
    std::string_view bytes = read.Bytes;
    if (read.Error != 0) {
        // The text ends at its first NUL: a longer file whose text ends within the limit is read.
        const auto end = FindNulCharacter(bytes);
        if (!end)
            ThrowFileError("Cannot open file", path, Reason(files, read.Error));
        bytes = bytes.substr(0, *end);
    }
    return ParseListFile(bytes, files.AnsiCodePage());
}

struct TSaveTarget
{
    std::string Path;
    // Keeps other copies' saves out from the read to the replace; none without the folder.
    std::unique_ptr<TSaveLock> Lock;
    // What the file holds now, and the encoding the save keeps; none when there is no file.
    std::optional<TListFileContent> Now;
};

// Where the list is saved, locked against other saves, with what the file it replaces holds.
TSaveTarget SaveTarget(TFileSystem& files)
{
    const char separator = files.PathSeparator();
    const std::string subFolder = separator + std::string(DataFolderName);
    const std::string folder = GetDataFolder(files, subFolder);
    if (!folder.empty()) {
        std::string path = Child(folder, ListFileName, separator);
        auto lock = files.LockSave(path);
        if (lock.Error != 0)
            ThrowFileError("Cannot open file", path, Reason(files, lock.Error));
        // Reading first settles the encoding, and refuses to replace a file it cannot read.
        auto now = ReadListFile(files, path);
        return { std::move(path), std::move(lock.Lock), std::move(now) };
    }
    const std::string base = files.CommonDataFolder();
    if (base.empty())
        ThrowFileError("Cannot create file", Child(subFolder, ListFileName, separator),
                       "The folder for the data of all users cannot be found");
    // Never fall back to another place: writing where the folder should be fails with
    // the system's own reason, or succeeds should the folder have appeared meanwhile.
    return { Child(base + subFolder, ListFileName, separator), nullptr, std::nullopt };
}

// The list's texts as the file gives them back once they are written to it.
TPackedTexts StoredTexts(const TComputerList& list)
{
    std::size_t characters = 0;
    for (int i = 0; i < list.Count(); ++i)
        characters += list.Text(i).size();
    TPackedTexts stored;
    stored.Reserve(static_cast<std::size_t>(list.Count()), characters);
    for (int i = 0; i < list.Count(); ++i)
        AppendStoredText(stored, list.Text(i));
    return stored;
}

// What a save writes, and the base after it: this copy's list as the file gives it back.
struct TSaveContent
{
    std::string Bytes;
    TPackedTexts NextBase;
};

// Copies only ever replace the file, never remove it, so a missing file tells of no deletion;
// and while the file holds just the base, no other copy has saved. Either way this copy's
// list is written as it stands, edits in their places. Otherwise the list is merged with the
// file; a file that holds no whole list tells of no deletion either, so as after a failed
// load the merge keeps what either side holds.
TSaveContent SaveContent(const TMergeBase& base, const std::optional<TListFileContent>& now, const TComputerList& list,
                         const TCodePage& ansi)
{
    const auto encoding = now ? now->Encoding : TTextEncoding::Ansi;
    auto stored = StoredTexts(list);
    const bool holdsBase = !now || (now->Whole && now->Entries == base.Texts);
    auto bytes = holdsBase
        ? FormatListFile(stored, encoding, ansi)
        : FormatListFile(MergeList(now->Whole ? base : TMergeBase {}, now->Entries, stored), encoding, ansi);
    return { std::move(bytes), std::move(stored) };
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

void LoadList(TComputerList& list, TFileSystem& files, TMergeBase& base)
{
    const char separator = files.PathSeparator();
    const std::string folder = GetDataFolder(files, separator + std::string(DataFolderName));
    // Without the shared folder there is no list file to read.
    if (folder.empty())
        return;
    auto content = ReadListFile(files, Child(folder, ListFileName, separator));
    if (!content)
        return;
    for (const std::string_view text : content->Entries)
        list.Append(std::string(text), TInfo(false));
    if (content->Whole)
        base.Texts = std::move(content->Entries);
}

void SaveList(const TComputerList& list, TFileSystem& files, TMergeBase& base)
{
    const auto target = SaveTarget(files);
    const TCodePage& ansi = files.AnsiCodePage();
    auto content = SaveContent(base, target.Now, list, ansi);
    const auto result = files.ReplaceFile(target.Path, content.Bytes);
    switch (result.Failure) {
    case TFileWriteFailure::None:
        // The file now holds the whole list: what the merge brought in from other copies is no
        // deletion of this copy's, and the next save keeps it.
        base.Texts = std::move(content.NextBase);
        return;
    case TFileWriteFailure::Create:
        ThrowFileError("Cannot create file", target.Path, Reason(files, result.Error));
    case TFileWriteFailure::Write:
        throw EOstrelError("Stream write error");
    }
}
