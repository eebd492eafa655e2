#include "platform/windows/Win32NameResolver.h"

#include "platform/windows/WideText.h"
#include "platform/windows/WinsockApi.h"

namespace {

struct TFreeAddressInfo
{
    void operator()(ADDRINFOW* info) const { FreeAddrInfoW(info); }
};

} // namespace

std::optional<std::string> TWin32NameResolver::ReverseName(const std::string& ipv4Address)
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
