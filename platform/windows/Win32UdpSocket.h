#pragma once

#include "platform/Sockets.h"
#include "platform/windows/UniqueHandle.h"
#include "platform/windows/UniqueSocket.h"
#include "platform/windows/WinsockApi.h"
#include "platform/windows/WinsockSession.h"

#include <mutex>

// A UDP socket on Windows Sockets 2. Waiting is done on two events: one the socket signals
// when a datagram arrives (WSAEventSelect) and one Close sets, so a Close from another
// thread ends a wait at once; closing the socket alone would not.
class TWin32UdpSocket : public TUdpSocket
{
public:
    explicit TWin32UdpSocket(TAddressFamily family);
    ~TWin32UdpSocket() override;
    TWin32UdpSocket(const TWin32UdpSocket&) = delete;
    TWin32UdpSocket& operator=(const TWin32UdpSocket&) = delete;

    TAddressFamily Family() const override { return m_family; }
    int Open() override;
    bool IsOpen() const override;
    int SetReuseAddress(bool on) override;
    int SetIPv6Only(bool on) override;
    int SetBroadcast(bool on) override;
    int SetReceiveBufferSize(int bytes) override;
    int Bind(std::uint16_t port) override;
    TWaitResult Wait(int timeoutMilliseconds) override;
    TReceiveResult Receive(std::span<std::uint8_t> buffer) override;
    TSendResult SendTo(std::span<const std::uint8_t> payload, const std::string& address, std::uint16_t port) override;
    void Close() override;

private:
    int SetOption(int level, int name, int value);
    // Closes the socket; the caller holds m_mutex.
    void CloseLocked();

    const TAddressFamily m_family;
    const TWinsockSession m_session;
    // Both live as long as this object, so a wait never sees them closed under it.
    const TUniqueHandle m_arrived;
    const TUniqueHandle m_closed;
    // Guards m_socket: calls other than the wait itself run under it, so Close
    // never pulls the socket from under a call.
    mutable std::mutex m_mutex;
    TUniqueSocket m_socket;
};
