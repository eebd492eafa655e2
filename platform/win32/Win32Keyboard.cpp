#include "platform/win32/Win32Keyboard.h"

#include <iterator>

namespace {

constexpr WORD KeyM = 0x4D;

INPUT Key(WORD virtualKey, bool up)
{
    return KeyInput(virtualKey, up, TWin32Keyboard::InjectedKeyMarker);
}

} // namespace

INPUT KeyInput(WORD virtualKey, bool up, ULONG_PTR extraInfo)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    // The keyboard layout in use decides which key that is, so pages see the key a user would press.
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    input.ki.dwExtraInfo = extraInfo;
    return input;
}

void TWin32Keyboard::InjectControlM()
{
    // One call, so no key the user types can come in between.
    INPUT keys[] = { Key(VK_LCONTROL, false), Key(KeyM, false), Key(KeyM, true), Key(VK_LCONTROL, true) };
    const UINT sent = SendInput(static_cast<UINT>(std::size(keys)), keys, sizeof(INPUT));
    m_pending.Sent(std::span(keys, sent), GetTickCount());
}
