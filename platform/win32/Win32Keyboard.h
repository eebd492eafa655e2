#pragma once

#include "platform/Keyboard.h"
#include "platform/win32/InjectedKeys.h"
#include "platform/windows/WindowsApi.h"

// Injects through the system's keyboard input, so the keys reach whatever has the focus,
// the web view's page included, as if typed.
class TWin32Keyboard : public TKeyboard
{
public:
    // The extra information the injected key events carry: the message loop reads it back
    // (GetMessageExtraInfo) and keeps them from the forms' key preview.
    static constexpr ULONG_PTR InjectedKeyMarker = 0x4F53544D;

    // pending: where the message loop counts the injected keys it has still to see.
    explicit TWin32Keyboard(TInjectedKeys& pending)
        : m_pending(pending)
    { }

    void InjectControlM() override;

private:
    TInjectedKeys& m_pending;
};

// A key of the system's keyboard going down or up, with the scan code of the key the layout in
// use gives virtualKey, as SendInput takes it.
INPUT KeyInput(WORD virtualKey, bool up, ULONG_PTR extraInfo = 0);
