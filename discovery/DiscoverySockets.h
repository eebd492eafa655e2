#pragma once

#include "discovery/EndpointReceiver.h"

#include <atomic>
#include <memory>
#include <vector>

class TSocketApi;
class TSyncGate;
class TUdpSocket;

// The program's end of the discovery exchange: an IPv4 endpoint, and an
// IPv6-only one where the system offers IPv6, both on the listening port, each
// with its receiver. Failures throw EOstrelError with the user's text.
class TDiscoverySockets
{
public:
    TDiscoverySockets(TSocketApi& api, TSyncGate& gate, TEndpointReceiver::TReadHandler onRead);
    // Closes; the owner calls Close earlier, while what the handler touches still exists.
    ~TDiscoverySockets();
    TDiscoverySockets(const TDiscoverySockets&) = delete;
    TDiscoverySockets& operator=(const TDiscoverySockets&) = delete;

    // Binds every endpoint and starts their receivers, or, whatever fails, leaves
    // every endpoint closed and no thread running, so that the next opening starts clean.
    void Open();
    bool IsOpen() const { return m_open; }
    // Broadcasts the request from the IPv4 endpoint, opening the socket first when it is closed.
    void SendRequest();
    // Stops the receivers in start order, closing each one's endpoint and
    // taking up or releasing its pending hand-off while waiting for it to end; then
    // closes, newest first, the endpoints that have no thread. Lookups of names still
    // running are abandoned, not waited for.
    void Close();
    // A find-computers scan begins: datagrams read from now on carry its number.
    void BeginScan() { ++m_scansBegun; }
    unsigned ScansBegun() const { return m_scansBegun.load(); }

private:
    struct TEndpoint
    {
        std::unique_ptr<TUdpSocket> Socket;
        std::unique_ptr<TEndpointReceiver> Receiver;
    };

    void MakeEndpoints();
    void Bind(TUdpSocket& endpoint);

    TSocketApi& m_api;
    TSyncGate& m_gate;
    TEndpointReceiver::TReadHandler m_onRead;
    std::vector<TEndpoint> m_endpoints;
    bool m_open = false;
    std::atomic<unsigned> m_scansBegun = 0;
};
