#include "HtmlEngine.h"

#include "platform/windows/UniqueHandle.h"
#include "tests/support/UnderWine.h"

namespace {

bool FolderExists(const wchar_t* path)
{
    const DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Whether a prefix holds an installed Wine Gecko: system32\gecko\<version>\wine_gecko.
bool GeckoInstalled()
{
    const std::wstring folder = L"C:\\windows\\system32\\gecko\\";
    WIN32_FIND_DATAW found {};
    const TUniqueFind search(FindFirstFileW((folder + L"*").c_str(), &found));
    if (!search)
        return false;
    do {
        if (FolderExists((folder + found.cFileName + L"\\wine_gecko").c_str()))
            return true;
    } while (FindNextFileW(search.Get(), &found));
    return false;
}

} // namespace

bool HtmlEngineMissing()
{
    return UnderWine() && !FolderExists(L"Z:\\usr\\share\\wine\\gecko") && !GeckoInstalled();
}

std::wstring PageTitle(TWin32WebBrowser& browser)
{
    BSTR title = nullptr;
    if (FAILED(browser.Control().Automation().get_LocationName(&title)))
        return {};
    std::wstring text(title ? title : L"", SysStringLen(title));
    SysFreeString(title);
    return text;
}
