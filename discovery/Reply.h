#pragma once

#include "discovery/ReceivedDatagram.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

// True when the payload, read as ASCII, holds the reply marker.
bool CarriesReplyMarker(std::span<const std::uint8_t> payload);

// True when the sender's reverse name is worth asking for: a reply from an IPv4 address.
bool NeedsSenderName(const TReceivedDatagram& datagram);

// The address a reply names ("http://" + sender's name + ":" + port text), or
// none when the datagram is no reply or its sender has no name.
std::optional<std::string> DiscoveredAddress(const TReceivedDatagram& datagram);
