#pragma once

#include "discovery/NameLookups.h"
#include "discovery/ReceivedDatagram.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

class TNameResolver;
class TSyncGate;
class TUdpSocket;

// One endpoint's receive path, in two threads so that reading never waits for a
// name: the reader takes the datagrams from the socket and has their senders'
// names looked up side by side; the hand-off thread hands each datagram whose
// name is known, synchronously, to the UI thread through the gate. Every error in
// reading or handling is dropped; a failed wait closes the endpoint and ends the
// reading.
class TEndpointReceiver
{
public:
    using TReadHandler = std::function<void(const TReceivedDatagram&)>;

    // Each datagram read is stamped with scansBegun as it is then.
    TEndpointReceiver(TUdpSocket& socket, std::shared_ptr<TNameResolver> resolver, TSyncGate& gate, TReadHandler onRead,
                      const std::atomic<unsigned>& scansBegun);
    // Joins; the owner has stopped the threads and closed the socket by then.
    ~TEndpointReceiver();
    TEndpointReceiver(const TEndpointReceiver&) = delete;
    TEndpointReceiver& operator=(const TEndpointReceiver&) = delete;

    // Seen at once by the hand-off thread, by the reader within one wait slice or at
    // once when the socket is closed. The datagrams not yet handed on are dropped and
    // the lookups still running abandoned.
    void RequestStop();
    bool Ended() const { return m_readerEnded && m_handOffEnded; }
    void Join();

private:
    void Read();
    void HandOff();
    // On the UI thread: hands the next ready datagram to the handler; true while more are ready.
    bool HandNext();

    TUdpSocket& m_socket;
    TSyncGate& m_gate;
    TReadHandler m_onRead;
    const std::atomic<unsigned>& m_scansBegun;
    TNameLookups m_lookups;
    std::vector<std::uint8_t> m_buffer;
    std::atomic<bool> m_stopRequested = false;
    std::atomic<bool> m_readerEnded = false;
    std::atomic<bool> m_handOffEnded = false;
    std::thread m_handOff;
    std::thread m_reader;
};
