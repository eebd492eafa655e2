#include "platform/qt/PosixSocketApi.h"

#include "platform/qt/PosixUdpSocket.h"

#include <memory>
#include <netdb.h>
#include <sys/socket.h>
#include <unistd.h>

std::unique_ptr<TUdpSocket> TPosixSocketApi::CreateUdpSocket(TAddressFamily family)
{
    return std::make_unique<TPosixUdpSocket>(family);
}

bool TPosixSocketApi::IPv6Offered()
{
    // Linux has no list of installed transports; the family is offered when a socket of it can be made.
    const int probe = ::socket(AF_INET6, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (probe < 0)
        return false;
    ::close(probe);
    return true;
}

std::optional<std::string> TPosixSocketApi::ReverseName(const std::string& ipv4Address)
{
    addrinfo hints {};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    hints.ai_flags = AI_NUMERICHOST;
    addrinfo* found = nullptr;
    if (::getaddrinfo(ipv4Address.c_str(), nullptr, &hints, &found) != 0)
        return std::nullopt;
    const std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> owner(found, ::freeaddrinfo);
    // 1024 characters and the terminating zero.
    char host[1025] = {};
    const int result = ::getnameinfo(found->ai_addr, found->ai_addrlen, host, sizeof host, nullptr, 0, NI_NAMEREQD);
    if (result != 0)
        return std::nullopt;
    return std::string(host);
}
