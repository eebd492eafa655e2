#pragma once

#include "discovery/ReceiveThread.h"

#include <memory>
#include <vector>

class TSocketApi;
class TSyncGate;
class TUdpSocket;

// The program's end of the discovery exchange: an IPv4 endpoint, and an
// IPv6-only one where the system offers IPv6, both on the listening port, each
// with its receive thread. Failures throw EOstrelError with the user's text.
class TDiscoverySocket
{
public:
    TDiscoverySocket(TSocketApi& api, TSyncGate& gate, TReceiveThread::TReadHandler onRead);
    // Closes; the owner calls Close earlier, while what the handler touches still exists.
    ~TDiscoverySocket();
    TDiscoverySocket(const TDiscoverySocket&) = delete;
    TDiscoverySocket& operator=(const TDiscoverySocket&) = delete;

    // Binds every endpoint or none, then starts the receive threads.
    void Open();
    bool IsOpen() const { return m_open; }
    // Broadcasts the request from the IPv4 endpoint, opening the socket first when it is closed.
    void SendRequest();
    // Stops the receive threads in start order, closing each one's endpoint and
    // taking up or releasing its pending hand-off while waiting for it to end.
    void Close();

private:
    void MakeEndpoints();
    void Bind(TUdpSocket& endpoint);

    TSocketApi& m_api;
    TSyncGate& m_gate;
    TReceiveThread::TReadHandler m_onRead;
    std::vector<std::unique_ptr<TUdpSocket>> m_endpoints;
    std::vector<std::unique_ptr<TReceiveThread>> m_threads;
    bool m_open = false;
};
