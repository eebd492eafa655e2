#pragma once

#include "discovery/Reply.h"

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

class TSocketApi;

// Looks up the senders' names of a batch of datagrams side by side and gives
// each datagram back as soon as its lookup is done, so that one slow name holds
// up no other. Datagrams that need no name come back at once.
class TNameLookups
{
public:
    TNameLookups(TSocketApi& api, std::vector<TReceivedDatagram> batch);
    // Waits for the lookups still running: a resolver call cannot be cancelled.
    ~TNameLookups() = default;
    TNameLookups(const TNameLookups&) = delete;
    TNameLookups& operator=(const TNameLookups&) = delete;

    // True when every datagram of the batch has been given back.
    bool Done() const;
    // The next datagram whose lookup is done; blocks until there is one. Not after Done.
    TReceivedDatagram Next();

private:
    void Finish(TReceivedDatagram datagram);

    mutable std::mutex m_mutex;
    std::condition_variable m_finished;
    std::deque<TReceivedDatagram> m_ready;
    std::size_t m_remaining = 0;
    // Last, so the lookups end before what they fill in goes.
    std::vector<std::jthread> m_lookups;
};
