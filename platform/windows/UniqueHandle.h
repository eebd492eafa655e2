#pragma once

#include "platform/windows/WindowsApi.h"

// Owns a Windows handle closed by Close. Win32 marks a missing handle with null or with
// INVALID_HANDLE_VALUE depending on the call that made it; both count as none here.
template <auto Close> class TUniqueHandleOf
{
public:
    TUniqueHandleOf() = default;
    explicit TUniqueHandleOf(HANDLE handle)
        : m_handle(handle == INVALID_HANDLE_VALUE ? nullptr : handle)
    { }
    TUniqueHandleOf(TUniqueHandleOf&& other) noexcept
        : m_handle(other.m_handle)
    {
        other.m_handle = nullptr;
    }
    TUniqueHandleOf& operator=(TUniqueHandleOf&& other) noexcept
    {
        if (this != &other) {
            Reset();
            m_handle = other.m_handle;
            other.m_handle = nullptr;
        }
        return *this;
    }
    TUniqueHandleOf(const TUniqueHandleOf&) = delete;
    TUniqueHandleOf& operator=(const TUniqueHandleOf&) = delete;
    ~TUniqueHandleOf() { Reset(); }

    HANDLE Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }

private:
    void Reset()
    {
        if (m_handle)
            Close(m_handle);
        m_handle = nullptr;
    }

    HANDLE m_handle = nullptr;
};

using TUniqueHandle = TUniqueHandleOf<&CloseHandle>;
using TUniqueFind = TUniqueHandleOf<&FindClose>;
