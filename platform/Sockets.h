#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

// UDP sockets as the discovery socket needs them. Failures are reported as
// Windows Sockets error numbers (0: success), whatever the system's own
// numbering, so that one error table serves every backend.

enum class TAddressFamily { IPv4, IPv6 };

namespace SocketErrors {
constexpr int NotSocket = 10038; // also what every call on a closed socket gives
constexpr int MessageSize = 10040;
constexpr int AddressInUse = 10048;
} // namespace SocketErrors

struct TWaitResult
{
    int Error = 0;
    bool Readable = false; // false with Error 0: the time-out passed
};

struct TReceiveResult
{
    int Error = 0;
    std::size_t Size = 0; // bytes placed in the buffer
    bool Truncated = false; // the datagram was longer than the buffer; its content is not usable
    std::string Sender; // dotted decimal for IPv4, the standard text form for IPv6
};

struct TSendResult
{
    int Error = 0;
    std::size_t Sent = 0;
};

// One UDP endpoint. Made closed; Open may be called again after Close.
// Wait may run on one thread while another calls Close.
class TUdpSocket
{
public:
    virtual ~TUdpSocket() = default;
    virtual TAddressFamily Family() const = 0;
    // Creates the system socket.
    virtual int Open() = 0;
    virtual bool IsOpen() const = 0;
    virtual int SetReuseAddress(bool on) = 0;
    // IPv6 sockets only: take no IPv4 traffic.
    virtual int SetIPv6Only(bool on) = 0;
    virtual int SetBroadcast(bool on) = 0;
    virtual int SetReceiveBufferSize(int bytes) = 0;
    // Binds to the family's wildcard address.
    virtual int Bind(std::uint16_t port) = 0;
    // Waits until a datagram can be read; a Close from another thread ends the wait at once with NotSocket.
    virtual TWaitResult Wait(int timeoutMilliseconds) = 0;
    // Reads one datagram without blocking.
    virtual TReceiveResult Receive(std::span<std::uint8_t> buffer) = 0;
    virtual TSendResult SendTo(std::span<const std::uint8_t> payload, const std::string& address, std::uint16_t port)
        = 0;
    virtual void Close() = 0;
};

// Reverse name lookups. A lookup cannot be cancelled, so one abandoned at shutdown may
// still run after the socket API has gone: the resolver is handed out in shared
// ownership, and holds a share of whatever the system's resolver needs to stay usable.
class TNameResolver
{
public:
    virtual ~TNameResolver() = default;
    // The name the resolver gives a numeric IPv4 address, with a name required (a numeric
    // answer does not count); none for any other text or when no name is known. Blocks;
    // may run on several threads at once.
    virtual std::optional<std::string> ReverseName(const std::string& ipv4Address) = 0;
};

class TSocketApi
{
public:
    virtual ~TSocketApi() = default;
    virtual std::unique_ptr<TUdpSocket> CreateUdpSocket(TAddressFamily family) = 0;
    // True when the system has a transport for IPv6.
    virtual bool IPv6Offered() = 0;
    virtual std::shared_ptr<TNameResolver> NameResolver() = 0;
};
