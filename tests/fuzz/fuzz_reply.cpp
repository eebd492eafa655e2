// The reply rules on arbitrary payloads: never a crash, and an address only
// for a payload that holds the marker, made of the prefix, the name and the
// text after the first colon.
#include "discovery/AsciiCodec.h"
#include "discovery/Reply.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TReceivedDatagram datagram { { data, data + size }, "192.168.1.20", "PC1" };
    const auto address = DiscoveredAddress(datagram);
    const std::string text = DecodeAscii(datagram.Payload);
    const bool marked = text.find("I am here, Port:") != std::string::npos;
    if (address.has_value() != marked || marked != CarriesReplyMarker(datagram.Payload))
        std::abort();
    if (address && *address != "http://PC1:" + text.substr(text.find(':') + 1))
        std::abort();
    // Decoded text is ASCII plus U+FFFD, so encoding it back gives one byte per input byte.
    if (EncodeAscii(text).size() != size)
        std::abort();
    return 0;
}
