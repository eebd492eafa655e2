#include "list/ListFile.h"

#include "list/ComputerList.h"
#include "list/IniFile.h"
#include "list/TextCodec.h"
#include "platform/FileSystem.h"
#include "platform/OstrelError.h"

#include <charconv>
#include <exception>
#include <map>

namespace {

constexpr std::string_view DataFolderName = "Mervane";
constexpr std::string_view ListFileName = "list.dat";
constexpr std::string_view GeneralSection = "General";
constexpr std::string_view CountKey = "Computers";
constexpr std::string_view NameKey = "Name";

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

struct TListFileModel
{
    TIniFile Ini;
    TTextEncoding Encoding = TTextEncoding::Ansi;
};

// A missing file (or a folder in its place) reads as an empty model.
TListFileModel ReadModel(TFileSystem& files, const std::string& path)
{
    if (!files.FileExists(path))
        return {};
    const auto read = files.ReadFile(path);
    if (read.Error != 0)
        ThrowFileError("Cannot open file", path, Reason(files, read.Error));
    auto decoded = DecodeText(read.Bytes, files.AnsiCodePage());
    return { TIniFile::Parse(decoded.Text), decoded.Encoding };
}

// The section index that "[name]" stands for when name is i in plain decimal, as written.
std::optional<int> SectionIndex(std::string_view name)
{
    int index = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), index);
    const bool plain = !name.empty() && name.front() != '-' && (name.size() == 1 || name.front() != '0');
    if (error != std::errc() || end != name.data() + name.size() || !plain)
        return std::nullopt;
    return index;
}

// Reads "Name" of sections 0 to count-1 in order. Walks the sections the file has rather
// than every i, so a huge "Computers" value cannot make loading take forever.
std::vector<std::string> ReadEntries(const TIniFile& ini)
{
    const int count = ini.ReadWholeNumber(GeneralSection, CountKey, 0);
    std::map<int, std::string> byIndex;
    for (const auto& section : ini.Sections()) {
        const auto index = SectionIndex(section.Name);
        if (index && *index < count && !byIndex.contains(*index))
            byIndex.emplace(*index, ini.ReadText(section.Name, NameKey, ""));
    }
    std::vector<std::string> entries;
    for (auto& [index, text] : byIndex)
        if (!text.empty())
            entries.push_back(std::move(text));
    return entries;
}

// An entry's text as one line: the reader would stop at the first CR, LF or NUL anyway,
// and anything after it would become lines or sections of its own.
std::string_view SingleLine(std::string_view text)
{
    return text.substr(0, text.find_first_of(std::string_view("\r\n\0", 3)));
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
    const auto model = ReadModel(files, Child(folder, ListFileName, separator));
    for (const auto& text : ReadEntries(model.Ini))
        list.Append(text, TInfo(false));
}

void SaveList(const TComputerList& list, TFileSystem& files)
{
    const char separator = files.PathSeparator();
    const std::string subFolder = separator + std::string(DataFolderName);
    const std::string folder = GetDataFolder(files, subFolder);
    TListFileModel model;
    std::string path;
    if (!folder.empty()) {
        path = Child(folder, ListFileName, separator);
        model = ReadModel(files, path);
    } else {
        const std::string base = files.CommonDataFolder();
        if (base.empty())
            ThrowFileError("Cannot create file", Child(subFolder, ListFileName, separator),
                           "The folder for the data of all users cannot be found");
        // Never fall back to another place: writing where the folder should be fails with
        // the system's own reason, or succeeds should the folder have appeared meanwhile.
        path = Child(base + subFolder, ListFileName, separator);
    }

    model.Ini.Clear();
    model.Ini.WriteWholeNumber(GeneralSection, CountKey, list.Count());
    for (int i = 0; i < list.Count(); ++i)
        model.Ini.WriteText(std::to_string(i), NameKey, SingleLine(list.Text(i)));
    const auto bytes = EncodeText(model.Ini.Serialise(), model.Encoding, files.AnsiCodePage());

    const auto result = files.ReplaceFile(path, bytes);
    switch (result.Failure) {
    case TFileWriteFailure::None:
        return;
    case TFileWriteFailure::Create:
        ThrowFileError("Cannot create file", path, Reason(files, result.Error));
    case TFileWriteFailure::Write:
        throw EOstrelError("Stream write error");
    }
}
