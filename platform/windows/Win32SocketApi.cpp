#include "platform/windows/Win32SocketApi.h"

#include "platform/windows/Win32NameResolver.h"
#include "platform/windows/Win32UdpSocket.h"
#include "platform/windows/WinsockApi.h"

#include <algorithm>
#include <memory>
#include <vector>

std::unique_ptr<TUdpSocket> TWin32SocketApi::CreateUdpSocket(TAddressFamily family)
{
    return std::make_unique<TWin32UdpSocket>(family);
}

bool TWin32SocketApi::IPv6Offered()
{
    // The first call only tells how much room the list of installed protocols needs.
    DWORD bytes = 0;
    if (WSAEnumProtocolsW(nullptr, nullptr, &bytes) != SOCKET_ERROR || WSAGetLastError() != WSAENOBUFS)
        return false;
    std::vector<WSAPROTOCOL_INFOW> protocols(bytes / sizeof(WSAPROTOCOL_INFOW) + 1);
    bytes = static_cast<DWORD>(protocols.size() * sizeof(WSAPROTOCOL_INFOW));
    const int count = WSAEnumProtocolsW(nullptr, protocols.data(), &bytes);
    if (count == SOCKET_ERROR)
        return false;
    return std::any_of(protocols.begin(), protocols.begin() + count,
                       [](const WSAPROTOCOL_INFOW& protocol) { return protocol.iAddressFamily == AF_INET6; });
}

std::shared_ptr<TNameResolver> TWin32SocketApi::NameResolver()
{
    return std::make_shared<TWin32NameResolver>();
}
