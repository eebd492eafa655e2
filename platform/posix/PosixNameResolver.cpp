#include "platform/posix/PosixNameResolver.h"

#include <memory>
#include <netdb.h>
#include <sys/socket.h>

std::optional<std::string> TPosixNameResolver::ReverseName(const std::string& ipv4Address)
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
