#pragma once

#include "platform/Sockets.h"

// getnameinfo needs no state of ours: this resolver can outlive everything else.
class TPosixNameResolver : public TNameResolver
{
public:
    std::optional<std::string> ReverseName(const std::string& ipv4Address) override;
};
