#pragma once

#include "discovery/Reply.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <thread>
#include <vector>

class TSocketApi;
class TSyncGate;
class TUdpSocket;

// Reads one endpoint's datagrams and hands each, synchronously, to the UI
// thread through the gate. Every error in reading or handling is dropped; a
// failed wait closes the endpoint and ends the thread.
class TReceiveThread
{
public:
    using TReadHandler = std::function<void(const TReceivedDatagram&)>;

    TReceiveThread(TUdpSocket& socket, TSocketApi& api, TSyncGate& gate, TReadHandler onRead);
    // Joins; the owner has stopped the thread and closed its socket by then.
    ~TReceiveThread();
    TReceiveThread(const TReceiveThread&) = delete;
    TReceiveThread& operator=(const TReceiveThread&) = delete;

    // Seen within one wait slice, or at once when the socket is closed.
    void RequestStop() { m_stopRequested = true; }
    bool Ended() const { return m_ended; }
    void Join();

private:
    void Run();
    // Reads the datagrams waiting now (up to BatchSize) and hands each on once its
    // sender's name is known; returns whether a next one was announced to the gate.
    bool HandBatch(bool announced);
    std::vector<TReceivedDatagram> ReadBatch();

    // Lookups running side by side at most, one per datagram of a batch.
    static constexpr std::size_t BatchSize = 32;

    TUdpSocket& m_socket;
    TSocketApi& m_api;
    TSyncGate& m_gate;
    TReadHandler m_onRead;
    std::vector<std::uint8_t> m_buffer;
    std::atomic<bool> m_stopRequested = false;
    std::atomic<bool> m_ended = false;
    std::thread m_thread;
};
