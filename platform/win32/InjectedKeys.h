#pragma once

#include "platform/windows/WindowsApi.h"

#include <deque>
#include <span>

// The key messages of Ostrel's own injections that the message loop has not seen yet. The
// marker in their extra information tells them apart, but a keyboard remapper may take the
// keys and inject them anew without it; so each message that matches the next key still
// pending counts as injected too.
class TInjectedKeys
{
public:
    // A pending key not seen within this time went elsewhere (another window, a system loop).
    static constexpr DWORD PendingTime = 2000;

    // The keys SendInput took, in their order; sentAt: the tick count then.
    void Sent(std::span<const INPUT> keys, DWORD sentAt);
    // For each key message the loop takes (WM_KEYDOWN, WM_KEYUP and their WM_SYS twins): true
    // when it is one of the injected keys, which it no longer counts as pending.
    bool Take(const MSG& message, bool marked);

private:
    struct TPendingKey
    {
        WORD Key;
        bool Up;
        DWORD SentAt;
    };

    std::deque<TPendingKey> m_pending;
};
