#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A datagram as an endpoint's receiver hands it to the UI thread.
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
