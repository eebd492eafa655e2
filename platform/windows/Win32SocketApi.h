#pragma once

#include "platform/Sockets.h"
#include "platform/windows/WinsockSession.h"

class TWin32SocketApi : public TSocketApi
{
public:
    std::unique_ptr<TUdpSocket> CreateUdpSocket(TAddressFamily family) override;
    bool IPv6Offered() override;
    std::shared_ptr<TNameResolver> NameResolver() override;

private:
    const TWinsockSession m_session;
};
