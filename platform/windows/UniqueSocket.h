#pragma once

#include "platform/windows/WinsockApi.h"

#include <utility>

// Owns a Windows Sockets socket, closed once with closesocket when the owner goes or is
// reset. INVALID_SOCKET is none.
class TUniqueSocket
{
public:
    TUniqueSocket() = default;
    explicit TUniqueSocket(SOCKET socket)
        : m_socket(socket)
    { }
    TUniqueSocket(TUniqueSocket&& other) noexcept
        : m_socket(std::exchange(other.m_socket, INVALID_SOCKET))
    { }
    TUniqueSocket& operator=(TUniqueSocket&& other) noexcept
    {
        if (this != &other) {
            Reset();
            m_socket = std::exchange(other.m_socket, INVALID_SOCKET);
        }
        return *this;
    }
    TUniqueSocket(const TUniqueSocket&) = delete;
    TUniqueSocket& operator=(const TUniqueSocket&) = delete;
    ~TUniqueSocket() { Reset(); }

    SOCKET Get() const { return m_socket; }
    explicit operator bool() const { return m_socket != INVALID_SOCKET; }

    void Reset()
    {
        if (const SOCKET socket = std::exchange(m_socket, INVALID_SOCKET); socket != INVALID_SOCKET)
            closesocket(socket);
    }

private:
    SOCKET m_socket = INVALID_SOCKET;
};
