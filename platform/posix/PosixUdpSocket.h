#pragma once

#include "platform/Sockets.h"

#include <mutex>

// A UDP socket on the POSIX API. An eventfd beside the socket lets Close wake a
// thread that waits in poll: closing the descriptor alone would not end the poll.
class TPosixUdpSocket : public TUdpSocket
{
public:
    explicit TPosixUdpSocket(TAddressFamily family);
    ~TPosixUdpSocket() override;
    TPosixUdpSocket(const TPosixUdpSocket&) = delete;
    TPosixUdpSocket& operator=(const TPosixUdpSocket&) = delete;

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

    const TAddressFamily m_family;
    // Guards m_socket: calls other than the wait itself run under it, so Close
    // never pulls the descriptor from under a call.
    mutable std::mutex m_mutex;
    int m_socket = -1;
    int m_wake = -1;
};
