#pragma once

#include "platform/Sockets.h"

class TPosixSocketApi : public TSocketApi
{
public:
    std::unique_ptr<TUdpSocket> CreateUdpSocket(TAddressFamily family) override;
    bool IPv6Offered() override;
    std::shared_ptr<TNameResolver> NameResolver() override;
};
