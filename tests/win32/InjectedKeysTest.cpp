// Telling Ostrel's own injected keys from typed ones, with and without their marker.
#include "platform/win32/InjectedKeys.h"

#include "platform/win32/Win32Keyboard.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

constexpr WORD KeyM = 'M';

MSG KeyMessage(UINT message, WORD key, DWORD time)
{
    MSG result = {};
    result.message = message;
    result.wParam = key;
    result.time = time;
    return result;
}

class InjectedKeysTest : public ::testing::Test
{
protected:
    // The Control+M sequence as the keyboard injects it.
    void SendControlM(DWORD at)
    {
        const std::vector<INPUT> keys = { KeyInput(VK_LCONTROL, false), KeyInput(KeyM, false), KeyInput(KeyM, true),
                                          KeyInput(VK_LCONTROL, true) };
        Keys.Sent(keys, at);
    }

    TInjectedKeys Keys;
};

TEST_F(InjectedKeysTest, KeysReInjectedWithoutTheMarkerCountAsInjectedATypedKeyInBetweenDoesNot)
{
    SendControlM(1000);
    // The Enter's own release was queued before the injection.
    EXPECT_FALSE(Keys.Take(KeyMessage(WM_KEYUP, VK_RETURN, 999), false));
    EXPECT_TRUE(Keys.Take(KeyMessage(WM_KEYDOWN, VK_CONTROL, 1001), false));
    EXPECT_TRUE(Keys.Take(KeyMessage(WM_KEYDOWN, KeyM, 1001), false));
    EXPECT_TRUE(Keys.Take(KeyMessage(WM_KEYUP, KeyM, 1002), false));
    EXPECT_TRUE(Keys.Take(KeyMessage(WM_KEYUP, VK_CONTROL, 1002), false));
    // All seen: the same keys typed afterwards are the user's.
    EXPECT_FALSE(Keys.Take(KeyMessage(WM_KEYDOWN, VK_CONTROL, 1100), false));
    EXPECT_FALSE(Keys.Take(KeyMessage(WM_KEYDOWN, KeyM, 1100), false));
}

TEST_F(InjectedKeysTest, TheMarkerAloneTellsAndKeysThatNeverArrivedExpire)
{
    EXPECT_TRUE(Keys.Take(KeyMessage(WM_KEYDOWN, KeyM, 500), true));

    // Sent while another program had the focus: the keys went there.
    SendControlM(1000);
    EXPECT_FALSE(Keys.Take(KeyMessage(WM_KEYDOWN, KeyM, 1000 + TInjectedKeys::PendingTime + 1), false));
    EXPECT_FALSE(Keys.Take(KeyMessage(WM_KEYDOWN, VK_CONTROL, 1000 + TInjectedKeys::PendingTime + 2), false));
    // The tick count wraps.
    SendControlM(0xFFFFFFF0);
    EXPECT_TRUE(Keys.Take(KeyMessage(WM_KEYDOWN, VK_CONTROL, 0x10), false));
}

} // namespace
