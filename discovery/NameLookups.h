#pragma once

#include "discovery/ReceivedDatagram.h"

#include <cstddef>
#include <memory>
#include <optional>

class TNameResolver;

// Looks up the senders' names of received datagrams side by side and gives each
// datagram back as soon as its own sender's name is known, whatever happens to the
// others. The lookups run on threads that are never joined: a resolver call cannot
// be cancelled, so one still running at shutdown is abandoned. Such a thread holds a
// share of all it touches, the resolver and the state here, and nothing else.
class TNameLookups
{
public:
    // Datagrams whose names are being looked up or wait for a lookup thread, at most, and
    // so lookups running at once; further datagrams wait in the socket's buffer.
    static constexpr std::size_t MaxRunning = 64;
    // Datagrams read and not yet taken at most, looked up or not.
    static constexpr std::size_t MaxHeld = 1024;

    explicit TNameLookups(std::shared_ptr<TNameResolver> resolver);
    // Abandons the lookups still running.
    ~TNameLookups();
    TNameLookups(const TNameLookups&) = delete;
    TNameLookups& operator=(const TNameLookups&) = delete;

    // Blocks while the limits are reached; false once stopped.
    bool WaitForRoom();
    // Starts the datagram's lookup, or makes it ready at once when it needs no name.
    // Throws when no thread can be started for the lookup; the datagram is then dropped.
    void Add(TReceivedDatagram datagram);
    // Blocks until a datagram is ready; false once stopped.
    bool WaitForReady();
    // The datagram ready first, or none; none once stopped.
    std::optional<TReceivedDatagram> TakeReady();
    bool HasReady() const;
    // Ends every wait and drops what is ready or still to come.
    void Stop();

private:
    struct TState;
    std::shared_ptr<TState> m_state;
};
