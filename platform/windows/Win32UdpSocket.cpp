#include "platform/windows/Win32UdpSocket.h"

#include "platform/windows/OlderWindows.h"

namespace {

int LastError()
{
    return WSAGetLastError();
}

HANDLE NewManualResetEvent()
{
    return CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

// The wildcard or the given address of family, with port, as the socket calls take it.
struct TSocketAddress
{
    sockaddr_storage Storage {};
    int Length = 0;

    TSocketAddress(TAddressFamily family, std::uint16_t port)
    {
        if (family == TAddressFamily::IPv4) {
            auto& v4 = reinterpret_cast<sockaddr_in&>(Storage);
            v4.sin_family = AF_INET;
            v4.sin_addr.s_addr = htonl(INADDR_ANY);
            v4.sin_port = htons(port);
            Length = sizeof v4;
        } else {
            auto& v6 = reinterpret_cast<sockaddr_in6&>(Storage);
            v6.sin6_family = AF_INET6;
            v6.sin6_addr = in6addr_any;
            v6.sin6_port = htons(port);
            Length = sizeof v6;
        }
    }

    // False when text is no numeric address of the family.
    bool SetAddress(const std::string& text)
    {
        void* address = Storage.ss_family == AF_INET
            ? static_cast<void*>(&reinterpret_cast<sockaddr_in&>(Storage).sin_addr)
            : static_cast<void*>(&reinterpret_cast<sockaddr_in6&>(Storage).sin6_addr);
        return inet_pton(Storage.ss_family, text.c_str(), address) == 1;
    }

    const sockaddr* Get() const { return reinterpret_cast<const sockaddr*>(&Storage); }
};

std::string AddressText(const sockaddr_storage& address)
{
    char text[INET6_ADDRSTRLEN] = {};
    if (address.ss_family == AF_INET)
        inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in&>(address).sin_addr, text, sizeof text);
    else if (address.ss_family == AF_INET6)
        inet_ntop(AF_INET6, &reinterpret_cast<const sockaddr_in6&>(address).sin6_addr, text, sizeof text);
    return text;
}

// Whether a datagram waits on socket now. The arrival event only tells of datagrams that came
// since the last read, so one still waiting from before is found this way.
int ReadableNow(SOCKET socket, bool& readable)
{
    fd_set sockets;
    FD_ZERO(&sockets);
    FD_SET(socket, &sockets);
    timeval now {};
    const int ready = select(0, &sockets, nullptr, nullptr, &now);
    if (ready == SOCKET_ERROR)
        return LastError();
    readable = ready > 0;
    return 0;
}

} // namespace

TWin32UdpSocket::TWin32UdpSocket(TAddressFamily family)
    : m_family(family)
    , m_arrived(NewManualResetEvent())
    , m_closed(NewManualResetEvent())
{ }

TWin32UdpSocket::~TWin32UdpSocket()
{
    Close();
}

int TWin32UdpSocket::Open()
{
    std::lock_guard lock(m_mutex);
    if (m_session.Error() != 0)
        return m_session.Error();
    if (!m_arrived || !m_closed)
        return WSA_NOT_ENOUGH_MEMORY;
    if (m_socket)
        return 0;
    // Not inherited: a program Ostrel starts (the browser of the help link) would otherwise
    // hold the port after Ostrel has ended.
    m_socket = TUniqueSocket(OpenUdpSocketNotInherited(m_family == TAddressFamily::IPv4 ? AF_INET : AF_INET6));
    if (!m_socket)
        return LastError();
    // This also makes the socket non-blocking, so Receive never waits.
    if (WSAEventSelect(m_socket.Get(), m_arrived.Get(), FD_READ) != 0) {
        const int error = LastError();
        CloseLocked();
        return error;
    }
    // A Close before this opening left the close event set; clear it.
    ResetEvent(m_closed.Get());
    return 0;
}

bool TWin32UdpSocket::IsOpen() const
{
    std::lock_guard lock(m_mutex);
    return static_cast<bool>(m_socket);
}

int TWin32UdpSocket::SetOption(int level, int name, int value)
{
    std::lock_guard lock(m_mutex);
    if (!m_socket)
        return SocketErrors::NotSocket;
    const char* bytes = reinterpret_cast<const char*>(&value);
    return setsockopt(m_socket.Get(), level, name, bytes, sizeof value) == 0 ? 0 : LastError();
}

int TWin32UdpSocket::SetReuseAddress(bool on)
{
    // Windows lets a socket that asks for reuse bind a port another socket holds, even one
    // that did not ask. Only exclusive use keeps the port from being shared, and the two
    // options exclude each other, so the one not wanted goes first.
    if (on) {
        if (const int error = SetOption(SOL_SOCKET, SO_EXCLUSIVEADDRUSE, 0))
            return error;
        return SetOption(SOL_SOCKET, SO_REUSEADDR, 1);
    }
    if (const int error = SetOption(SOL_SOCKET, SO_REUSEADDR, 0))
        return error;
    return SetOption(SOL_SOCKET, SO_EXCLUSIVEADDRUSE, 1);
}

int TWin32UdpSocket::SetIPv6Only(bool on)
{
    return SetOption(IPPROTO_IPV6, IPV6_V6ONLY, on ? 1 : 0);
}

int TWin32UdpSocket::SetBroadcast(bool on)
{
    return SetOption(SOL_SOCKET, SO_BROADCAST, on ? 1 : 0);
}

int TWin32UdpSocket::SetReceiveBufferSize(int bytes)
{
    return SetOption(SOL_SOCKET, SO_RCVBUF, bytes);
}

int TWin32UdpSocket::Bind(std::uint16_t port)
{
    std::lock_guard lock(m_mutex);
    if (!m_socket)
        return SocketErrors::NotSocket;
    const TSocketAddress address(m_family, port);
    return bind(m_socket.Get(), address.Get(), address.Length) == 0 ? 0 : LastError();
}

TWaitResult TWin32UdpSocket::Wait(int timeoutMilliseconds)
{
    SOCKET socket = INVALID_SOCKET;
    {
        std::lock_guard lock(m_mutex);
        socket = m_socket.Get();
    }
    if (socket == INVALID_SOCKET)
        return { SocketErrors::NotSocket, false };
    // Cleared before looking, so a datagram that comes after the look sets it again.
    ResetEvent(m_arrived.Get());
    bool readable = false;
    // Should Close run meanwhile, the close event is set, and the wait below sees it first.
    if (const int error = ReadableNow(socket, readable))
        return { IsOpen() ? error : SocketErrors::NotSocket, false };
    const HANDLE events[] = { m_closed.Get(), m_arrived.Get() };
    const DWORD timeout = readable ? 0
        : timeoutMilliseconds < 0  ? WSA_INFINITE
                                   : static_cast<DWORD>(timeoutMilliseconds);
    const DWORD woken = WSAWaitForMultipleEvents(2, events, FALSE, timeout, FALSE);
    if (woken == WSA_WAIT_FAILED)
        return { LastError(), false };
    if (woken == WSA_WAIT_EVENT_0 || !IsOpen())
        return { SocketErrors::NotSocket, false };
    return { 0, readable || woken == WSA_WAIT_EVENT_0 + 1 };
}

TReceiveResult TWin32UdpSocket::Receive(std::span<std::uint8_t> buffer)
{
    std::lock_guard lock(m_mutex);
    TReceiveResult result;
    if (!m_socket) {
        result.Error = SocketErrors::NotSocket;
        return result;
    }
    sockaddr_storage sender {};
    int senderLength = sizeof sender;
    const int length = recvfrom(m_socket.Get(), reinterpret_cast<char*>(buffer.data()), static_cast<int>(buffer.size()),
                                0, reinterpret_cast<sockaddr*>(&sender), &senderLength);
    if (length == SOCKET_ERROR) {
        // A datagram longer than the buffer is cut and the rest discarded; the caller drops it.
        if (LastError() != WSAEMSGSIZE) {
            result.Error = LastError();
            return result;
        }
        result.Truncated = true;
        result.Size = buffer.size();
    } else {
        result.Size = static_cast<std::size_t>(length);
    }
    result.Sender = AddressText(sender);
    return result;
}

TSendResult TWin32UdpSocket::SendTo(std::span<const std::uint8_t> payload, const std::string& address,
                                    std::uint16_t port)
{
    std::lock_guard lock(m_mutex);
    if (!m_socket)
        return { SocketErrors::NotSocket, 0 };
    TSocketAddress target(m_family, port);
    if (!target.SetAddress(address))
        return { WSAEINVAL, 0 };
    const int sent = sendto(m_socket.Get(), reinterpret_cast<const char*>(payload.data()),
                            static_cast<int>(payload.size()), 0, target.Get(), target.Length);
    if (sent == SOCKET_ERROR)
        return { LastError(), 0 };
    return { 0, static_cast<std::size_t>(sent) };
}

void TWin32UdpSocket::Close()
{
    std::lock_guard lock(m_mutex);
    CloseLocked();
}

void TWin32UdpSocket::CloseLocked()
{
    if (!m_socket)
        return;
    SetEvent(m_closed.Get());
    m_socket.Reset();
}
