// What Windows reads from Ostrel.exe without running it: the version record that Explorer's
// properties show, the manifest that decides how the program runs, its icon and the pictures
// it draws its rows with.
#include "platform/windows/WideText.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>
#include <windows.h>

namespace {

const wchar_t* const ProgramFile = OSTREL_PROGRAM_FILE;

class ProgramResourcesTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_program = LoadLibraryExW(ProgramFile, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(m_program, nullptr) << "cannot open " << Narrow(ProgramFile) << ", error " << GetLastError();
    }
    void TearDown() override
    {
        if (m_program)
            FreeLibrary(m_program);
    }

    std::string_view Resource(const wchar_t* name, const wchar_t* type) const
    {
        const HRSRC resource = FindResourceW(m_program, name, type);
        const HGLOBAL loaded = resource ? LoadResource(m_program, resource) : nullptr;
        if (!loaded)
            return {};
        return { static_cast<const char*>(LockResource(loaded)), SizeofResource(m_program, resource) };
    }

    HMODULE m_program = nullptr;
};

std::wstring VersionText(const std::vector<char>& record, const std::wstring& key)
{
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(record.data(), (L"\\StringFileInfo\\040904B0\\" + key).c_str(), &value, &length))
        return L"(missing)";
    return static_cast<const wchar_t*>(value);
}

TEST_F(ProgramResourcesTest, VersionRecordNamesTheProgramAndItsVersion)
{
    DWORD ignored = 0;
    std::vector<char> record(GetFileVersionInfoSizeW(ProgramFile, &ignored));
    ASSERT_FALSE(record.empty()) << "no version record";
    ASSERT_TRUE(GetFileVersionInfoW(ProgramFile, 0, static_cast<DWORD>(record.size()), record.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(record.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(4, 4));
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(15, 1));
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(4, 4));
    EXPECT_EQ(fixed->dwProductVersionLS, MAKELONG(15, 1));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

    for (const wchar_t* key : { L"FileDescription", L"ProductName", L"ProgramID" })
        EXPECT_EQ(VersionText(record, key), L"Ostrel") << Narrow(key);
    EXPECT_EQ(VersionText(record, L"FileVersion"), L"4.4.1.15");
    EXPECT_EQ(VersionText(record, L"ProductVersion"), L"4.4.1.15");
}

TEST_F(ProgramResourcesTest, ManifestAsksForWhatTheProgramNeeds)
{
    const std::string manifest(Resource(MAKEINTRESOURCEW(1), RT_MANIFEST));
    ASSERT_FALSE(manifest.empty()) << "no manifest";
    for (const char* declaration : {
             R"(name="Microsoft.Windows.Common-Controls" version="6.0.0.0")", R"(level="asInvoker")", ">true/pm<",
             ">PerMonitorV2, PerMonitor<",
             "{e2011457-1546-43c5-a5fe-008deee3d3f0}", // Vista
             "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", // 7
             "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", // 8
             "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", // 8.1
             "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", // 10
         })
        EXPECT_NE(manifest.find(declaration), std::string::npos) << declaration;
}

#pragma pack(push, 2)
struct TIconGroupEntry
{
    BYTE Width, Height, ColorCount, Reserved;
    WORD Planes, BitCount;
    DWORD BytesInRes;
    WORD Id;
};
#pragma pack(pop)

TEST_F(ProgramResourcesTest, IconComesInEverySizeItIsDrawnAt)
{
    const std::string_view group = Resource(L"OSTREL", RT_GROUP_ICON);
    ASSERT_GE(group.size(), 6u) << "no icon";
    const WORD count = *reinterpret_cast<const WORD*>(group.data() + 4);
    ASSERT_EQ(group.size(), 6 + count * sizeof(TIconGroupEntry));
    std::vector<int> sizes;
    for (WORD i = 0; i < count; ++i) {
        const auto* entry = reinterpret_cast<const TIconGroupEntry*>(group.data() + 6) + i;
        // A width of 256 does not fit the byte and is stored as 0.
        sizes.push_back(entry->Width == 0 ? 256 : entry->Width);
        EXPECT_EQ(entry->Width, entry->Height);
        EXPECT_EQ(entry->BitCount, 32);
    }
    EXPECT_EQ(sizes, (std::vector<int> { 16, 24, 32, 48, 64, 72, 96, 128, 256 }));

    // The entries hold PNG pictures, which the system must be able to decode.
    for (const int size : { 16, 48, 256 }) {
        const auto icon = static_cast<HICON>(LoadImageW(m_program, L"OSTREL", IMAGE_ICON, size, size, 0));
        ASSERT_NE(icon, nullptr) << size;
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP colour = {};
        GetObjectW(info.hbmColor, sizeof colour, &colour);
        EXPECT_EQ(colour.bmWidth, size);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
}

TEST_F(ProgramResourcesTest, RowPicturesAreCompiledIn)
{
    for (const wchar_t* name : { L"computer.png", L"badge.png" })
        EXPECT_EQ(Resource(name, RT_RCDATA).substr(0, 4), "\x89PNG") << Narrow(name);
}

} // namespace
