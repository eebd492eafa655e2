#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// A datagram as the receive thread hands it to the UI thread.
struct TReceivedDatagram
{
    std::vector<std::uint8_t> Payload;
    std::string SenderAddress;
    // The sender's reverse name, looked up on the receive thread for a reply
    // from IPv4 so that a slow resolver never holds up the UI thread; none when
    // no lookup was made or it found no name.
    std::optional<std::string> SenderName;
    // How many scans had begun when the datagram was read: a reply read before the latest
    // scan began did not answer that scan's request, however late its name comes.
    unsigned ScansBegun = 0;
};

// True when the payload, read as ASCII, holds the reply marker.
bool CarriesReplyMarker(std::span<const std::uint8_t> payload);

// True when the sender's reverse name is worth asking for: a reply from an IPv4 address.
bool NeedsSenderName(const TReceivedDatagram& datagram);

// The address a reply names ("http://" + sender's name + ":" + port text), or
// none when the datagram is no reply or its sender has no name.
std::optional<std::string> DiscoveredAddress(const TReceivedDatagram& datagram);
