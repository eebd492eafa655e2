#pragma once

#include <filesystem>
#include <string>

// The tests hold paths as UTF-8, as the program does; std::filesystem takes them through
// char8_t so that no system code page comes between.
inline std::filesystem::path FsPath(const std::string& utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string Utf8(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return { text.begin(), text.end() };
}
