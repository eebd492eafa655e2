#include "discovery/Reply.h"

#include "discovery/AsciiCodec.h"
#include "discovery/Protocol.h"

#include <algorithm>

bool CarriesReplyMarker(std::span<const std::uint8_t> payload)
{
    // The marker is ASCII, and decoding maps ASCII bytes to themselves, so the bytes can be searched directly.
    const auto& marker = Protocol::ReplyMarker;
    return std::search(payload.begin(), payload.end(), marker.begin(), marker.end(),
                       [](std::uint8_t byte, char c) { return byte == static_cast<std::uint8_t>(c); })
        != payload.end();
}

bool NeedsSenderName(const TReceivedDatagram& datagram)
{
    const bool fromIPv4 = datagram.SenderAddress.find(':') == std::string::npos;
    return fromIPv4 && CarriesReplyMarker(datagram.Payload);
}

std::optional<std::string> DiscoveredAddress(const TReceivedDatagram& datagram)
{
    if (!NeedsSenderName(datagram) || !datagram.SenderName)
        return std::nullopt;
    const std::string text = DecodeAscii(datagram.Payload);
    // Everything after the first colon of the whole text, wherever the marker stands; untrimmed.
    const std::string portText = text.substr(text.find(':') + 1);
    return std::string(Protocol::AddressPrefix) + *datagram.SenderName + ":" + portText;
}
