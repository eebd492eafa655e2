#pragma once

#include "platform/windows/WindowsApi.h"
#include "tests/support/UnderWine.h"

#include <string>
#include <vector>

// A new, empty folder in the user's temporary folder, removed with what it holds at the end.
class TWindowsTestFolder
{
public:
    TWindowsTestFolder();
    TWindowsTestFolder(const TWindowsTestFolder&) = delete;
    TWindowsTestFolder& operator=(const TWindowsTestFolder&) = delete;
    ~TWindowsTestFolder();

    const std::string& Path() const { return m_path; }
    // The path of name inside the folder, as UTF-8.
    std::string In(const std::string& name) const;
    // The names in the folder, sorted.
    std::vector<std::string> Entries() const;

private:
    std::string m_path;
};
