#pragma once

#include "platform/windows/WindowsApi.h"

// A hook procedure on the calling thread, unhooked when the owner goes; null when the system
// refused it.
class TWindowsHook
{
public:
    TWindowsHook(int kind, HOOKPROC procedure)
        : m_hook(SetWindowsHookExW(kind, procedure, nullptr, GetCurrentThreadId()))
    { }
    ~TWindowsHook()
    {
        if (m_hook)
            UnhookWindowsHookEx(m_hook);
    }
    TWindowsHook(const TWindowsHook&) = delete;
    TWindowsHook& operator=(const TWindowsHook&) = delete;

private:
    const HHOOK m_hook;
};
