#include "platform/posix/PosixUdpSocket.h"

#include "platform/posix/SocketErrno.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstdint>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int LastError()
{
    return WinSockErrorFromErrno(errno);
}

std::string AddressText(const sockaddr_storage& address)
{
    char text[INET6_ADDRSTRLEN] = {};
    if (address.ss_family == AF_INET)
        inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in&>(address).sin_addr, text, sizeof text);
    else if (address.ss_family == AF_INET6)
        inet_ntop(AF_INET6, &reinterpret_cast<const sockaddr_in6&>(address).sin6_addr, text, sizeof text);
    return text;
}

} // namespace

TPosixUdpSocket::TPosixUdpSocket(TAddressFamily family)
    : m_family(family)
    , m_wake(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{ }

TPosixUdpSocket::~TPosixUdpSocket()
{
    Close();
    if (m_wake >= 0)
        ::close(m_wake);
}

int TPosixUdpSocket::Open()
{
    std::lock_guard lock(m_mutex);
    if (m_wake < 0)
        return WinSockErrorFromErrno(EMFILE);
    if (m_socket >= 0)
        return 0;
    const int domain = m_family == TAddressFamily::IPv4 ? AF_INET : AF_INET6;
    m_socket = ::socket(domain, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_UDP);
    if (m_socket < 0)
        return LastError();
    // A Close before this opening left the wake signalled; clear it.
    std::uint64_t count = 0;
    while (::read(m_wake, &count, sizeof count) > 0) { }
    return 0;
}

bool TPosixUdpSocket::IsOpen() const
{
    std::lock_guard lock(m_mutex);
    return m_socket >= 0;
}

int TPosixUdpSocket::SetOption(int level, int name, int value)
{
    std::lock_guard lock(m_mutex);
    if (m_socket < 0)
        return SocketErrors::NotSocket;
    return ::setsockopt(m_socket, level, name, &value, sizeof value) == 0 ? 0 : LastError();
}

int TPosixUdpSocket::SetReuseAddress(bool on)
{
    return SetOption(SOL_SOCKET, SO_REUSEADDR, on ? 1 : 0);
}

int TPosixUdpSocket::SetIPv6Only(bool on)
{
    return SetOption(IPPROTO_IPV6, IPV6_V6ONLY, on ? 1 : 0);
}

int TPosixUdpSocket::SetBroadcast(bool on)
{
    return SetOption(SOL_SOCKET, SO_BROADCAST, on ? 1 : 0);
}

int TPosixUdpSocket::SetReceiveBufferSize(int bytes)
{
    // SO_RCVBUF is capped by net.core.rmem_max, which a network namespace cannot raise;
    // the forced form passes the cap where the process may administer the network.
    if (SetOption(SOL_SOCKET, SO_RCVBUFFORCE, bytes) == 0)
        return 0;
    return SetOption(SOL_SOCKET, SO_RCVBUF, bytes);
}

int TPosixUdpSocket::Bind(std::uint16_t port)
{
    std::lock_guard lock(m_mutex);
    if (m_socket < 0)
        return SocketErrors::NotSocket;
    sockaddr_storage address {};
    socklen_t length = 0;
    if (m_family == TAddressFamily::IPv4) {
        auto& v4 = reinterpret_cast<sockaddr_in&>(address);
        v4.sin_family = AF_INET;
        v4.sin_addr.s_addr = htonl(INADDR_ANY);
        v4.sin_port = htons(port);
        length = sizeof v4;
    } else {
        auto& v6 = reinterpret_cast<sockaddr_in6&>(address);
        v6.sin6_family = AF_INET6;
        v6.sin6_addr = in6addr_any;
        v6.sin6_port = htons(port);
        length = sizeof v6;
    }
    return ::bind(m_socket, reinterpret_cast<const sockaddr*>(&address), length) == 0 ? 0 : LastError();
}

TWaitResult TPosixUdpSocket::Wait(int timeoutMilliseconds)
{
    int socket = -1;
    {
        std::lock_guard lock(m_mutex);
        socket = m_socket;
    }
    if (socket < 0)
        return { SocketErrors::NotSocket, false };
    // Should Close run between the copy and the poll and the number be reused,
    // the wake is already signalled, so the poll returns before looking at it.
    pollfd waits[2] = { { socket, POLLIN, 0 }, { m_wake, POLLIN, 0 } };
    const int ready = ::poll(waits, 2, timeoutMilliseconds);
    if (ready < 0)
        return errno == EINTR ? TWaitResult {} : TWaitResult { LastError(), false };
    if (waits[1].revents != 0 || !IsOpen())
        return { SocketErrors::NotSocket, false };
    if (waits[0].revents & (POLLERR | POLLNVAL))
        return { WinSockErrorFromErrno(EBADF), false };
    return { 0, ready > 0 };
}

TReceiveResult TPosixUdpSocket::Receive(std::span<std::uint8_t> buffer)
{
    std::lock_guard lock(m_mutex);
    TReceiveResult result;
    if (m_socket < 0) {
        result.Error = SocketErrors::NotSocket;
        return result;
    }
    sockaddr_storage sender {};
    socklen_t senderLength = sizeof sender;
    // MSG_TRUNC makes the call return the datagram's real length, so a cut datagram shows.
    const ssize_t length = ::recvfrom(m_socket, buffer.data(), buffer.size(), MSG_DONTWAIT | MSG_TRUNC,
                                      reinterpret_cast<sockaddr*>(&sender), &senderLength);
    if (length < 0) {
        result.Error = LastError();
        return result;
    }
    result.Truncated = static_cast<std::size_t>(length) > buffer.size();
    result.Size = result.Truncated ? buffer.size() : static_cast<std::size_t>(length);
    result.Sender = AddressText(sender);
    return result;
}

TSendResult TPosixUdpSocket::SendTo(std::span<const std::uint8_t> payload, const std::string& address,
                                    std::uint16_t port)
{
    std::lock_guard lock(m_mutex);
    if (m_socket < 0)
        return { SocketErrors::NotSocket, 0 };
    sockaddr_storage target {};
    socklen_t length = 0;
    if (m_family == TAddressFamily::IPv4) {
        auto& v4 = reinterpret_cast<sockaddr_in&>(target);
        v4.sin_family = AF_INET;
        v4.sin_port = htons(port);
        if (inet_pton(AF_INET, address.c_str(), &v4.sin_addr) != 1)
            return { WinSockErrorFromErrno(EINVAL), 0 };
        length = sizeof v4;
    } else {
        auto& v6 = reinterpret_cast<sockaddr_in6&>(target);
        v6.sin6_family = AF_INET6;
        v6.sin6_port = htons(port);
        if (inet_pton(AF_INET6, address.c_str(), &v6.sin6_addr) != 1)
            return { WinSockErrorFromErrno(EINVAL), 0 };
        length = sizeof v6;
    }
    const ssize_t sent = ::sendto(m_socket, payload.data(), payload.size(), MSG_NOSIGNAL,
                                  reinterpret_cast<const sockaddr*>(&target), length);
    if (sent < 0)
        return { LastError(), 0 };
    return { 0, static_cast<std::size_t>(sent) };
}

void TPosixUdpSocket::Close()
{
    std::lock_guard lock(m_mutex);
    if (m_socket < 0)
        return;
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto written = ::write(m_wake, &one, sizeof one);
    ::close(m_socket);
    m_socket = -1;
}
