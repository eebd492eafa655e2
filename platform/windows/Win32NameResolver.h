#pragma once

#include "platform/Sockets.h"
#include "platform/windows/WinsockSession.h"

#include <memory>

// Reverse names through Windows Sockets. It holds its own start of Winsock, so a lookup
// abandoned at shutdown still finds Winsock running after the socket API has gone.
class TWin32NameResolver : public TNameResolver
{
public:
    std::optional<std::string> ReverseName(const std::string& ipv4Address) override;

private:
    const TWinsockSession m_session;
};
