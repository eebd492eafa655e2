#include "platform/posix/PosixSocketApi.h"

#include "platform/posix/PosixNameResolver.h"
#include "platform/posix/PosixUdpSocket.h"

#include <memory>
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

std::shared_ptr<TNameResolver> TPosixSocketApi::NameResolver()
{
    return std::make_shared<TPosixNameResolver>();
}
