#include "platform/win32/Win32SocketApi.h"

#include "platform/win32/WideText.h"
#include "platform/win32/Win32UdpSocket.h"
#include "platform/win32/WinsockApi.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace {

struct TFreeAddressInfo
{
    void operator()(ADDRINFOW* info) const { FreeAddrInfoW(info); }
};

} // namespace

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

std::optional<std::string> TWin32SocketApi::ReverseName(const std::string& ipv4Address)
{
    ADDRINFOW hints {};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    hints.ai_flags = AI_NUMERICHOST;
    ADDRINFOW* found = nullptr;
    if (GetAddrInfoW(Widen(ipv4Address).c_str(), nullptr, &hints, &found) != 0)
        return std::nullopt;
    const std::unique_ptr<ADDRINFOW, TFreeAddressInfo> owner(found);
    // 1024 characters and the terminating zero. The wide call gives a name in any script
    // intact, where the narrow one would squeeze it through the ANSI code page.
    wchar_t host[1025] = {};
    if (GetNameInfoW(found->ai_addr, static_cast<socklen_t>(found->ai_addrlen), host, 1025, nullptr, 0, NI_NAMEREQD)
        != 0)
        return std::nullopt;
    return Narrow(host);
}
