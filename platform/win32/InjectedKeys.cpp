#include "platform/win32/InjectedKeys.h"

#include <algorithm>

namespace {

// The window gets the side-neutral key for a left or right Control, Shift or Alt.
WORD NeutralKey(WORD key)
{
    switch (key) {
    case VK_LCONTROL:
    case VK_RCONTROL:
        return VK_CONTROL;
    case VK_LSHIFT:
    case VK_RSHIFT:
        return VK_SHIFT;
    case VK_LMENU:
    case VK_RMENU:
        return VK_MENU;
    default:
        return key;
    }
}

} // namespace

void TInjectedKeys::Sent(std::span<const INPUT> keys, DWORD sentAt)
{
    for (const INPUT& key : keys) {
        if (key.type == INPUT_KEYBOARD)
            m_pending.push_back({ NeutralKey(key.ki.wVk), (key.ki.dwFlags & KEYEVENTF_KEYUP) != 0, sentAt });
    }
}

bool TInjectedKeys::Take(const MSG& message, bool marked)
{
    // Signed: a message queued before the injection has an earlier time.
    std::erase_if(m_pending, [&](const TPendingKey& key) {
        return static_cast<LONG>(message.time - key.SentAt) > static_cast<LONG>(PendingTime);
    });
    const bool up = message.message == WM_KEYUP || message.message == WM_SYSKEYUP;
    const auto key = static_cast<WORD>(message.wParam);
    // A key the user typed in between (the Enter's own release) keeps its place: it matches none.
    const auto found = std::ranges::find_if(
        m_pending, [&](const TPendingKey& pending) { return pending.Key == key && pending.Up == up; });
    if (found == m_pending.end())
        return marked;
    m_pending.erase(found);
    return true;
}
