// The rendering mode Ostrel asks of the WebBrowser control, in the registry of Wine or Windows:
// written where nothing is chosen, never over a choice already made.
#include "platform/win32/BrowserEmulation.h"

#include "platform/windows/WindowsApi.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace {

constexpr wchar_t FeatureKey[]
    = L"Software\\Microsoft\\Internet Explorer\\Main\\FeatureControl\\FEATURE_BROWSER_EMULATION";

std::optional<DWORD> Mode(HKEY root, const std::wstring& program)
{
    DWORD mode = 0;
    DWORD size = sizeof mode;
    if (RegGetValueW(root, FeatureKey, program.c_str(), RRF_RT_REG_DWORD, nullptr, &mode, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return mode;
}

// Sets the value program under root's key; false when this user may not.
bool SetMode(HKEY root, const std::wstring& program, DWORD mode)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, FeatureKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, &key, nullptr)
        != ERROR_SUCCESS)
        return false;
    const bool set
        = RegSetValueExW(key, program.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&mode), sizeof mode)
        == ERROR_SUCCESS;
    RegCloseKey(key);
    return set;
}

class BrowserEmulationTest : public testing::Test
{
protected:
    void TearDown() override
    {
        for (const HKEY root : { HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE })
            RegDeleteKeyValueW(root, FeatureKey, Program.c_str());
    }

    // A name of no real program, so that the test changes nothing anyone relies on.
    const std::wstring Program = L"ostrel-emulation-test-" + std::to_wstring(GetCurrentProcessId()) + L".exe";
};

TEST_F(BrowserEmulationTest, MissingValueIsWrittenForTheUser)
{
    ASSERT_FALSE(Mode(HKEY_CURRENT_USER, Program));
    UseBrowserEmulationUnlessChosen(Program);
    EXPECT_EQ(Mode(HKEY_CURRENT_USER, Program), CurrentBrowserEmulation);
}

TEST_F(BrowserEmulationTest, UsersOwnValueIsKept)
{
    ASSERT_TRUE(SetMode(HKEY_CURRENT_USER, Program, 8000));
    UseBrowserEmulationUnlessChosen(Program);
    EXPECT_EQ(Mode(HKEY_CURRENT_USER, Program), 8000u);
}

TEST_F(BrowserEmulationTest, MachineWideValueIsKeptAndNothingAddedForTheUser)
{
    if (!SetMode(HKEY_LOCAL_MACHINE, Program, 9000))
        GTEST_SKIP() << "this user may not write HKEY_LOCAL_MACHINE; the check needs an elevated run";
    UseBrowserEmulationUnlessChosen(Program);
    EXPECT_EQ(Mode(HKEY_LOCAL_MACHINE, Program), 9000u);
    EXPECT_FALSE(Mode(HKEY_CURRENT_USER, Program));
}

} // namespace
