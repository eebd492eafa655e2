#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// The discovery exchange: a broadcast request to the agents' port, replies to ours.
namespace Protocol {
constexpr std::uint16_t ListenPort = 8081;
constexpr std::string_view RequestAddress = "255.255.255.255";
constexpr std::uint16_t RequestPort = 8082;
constexpr std::string_view RequestText = "Hello, KVD";
constexpr std::string_view ReplyMarker = "I am here, Port:";
constexpr std::string_view AddressPrefix = "http://";
// Largest datagram taken; a longer one is dropped whole.
constexpr std::size_t DatagramSize = 8192;
constexpr int WaitSliceMilliseconds = 1000;
// The system's buffer for datagrams not yet read: room for a whole network of
// agents answering at once, which the default would drop.
constexpr int SocketBufferBytes = 4 * 1024 * 1024;
} // namespace Protocol
