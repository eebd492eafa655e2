#include "discovery/DiscoverySockets.h"

#include "discovery/AsciiCodec.h"
#include "discovery/Protocol.h"
#include "discovery/SocketErrorText.h"
#include "platform/common/SyncGate.h"
#include "platform/OstrelError.h"
#include "platform/Sockets.h"

TDiscoverySockets::TDiscoverySockets(TSocketApi& api, TSyncGate& gate, TEndpointReceiver::TReadHandler onRead)
    : m_api(api)
    , m_gate(gate)
    , m_onRead(std::move(onRead))
{ }

TDiscoverySockets::~TDiscoverySockets()
{
    Close();
}

void TDiscoverySockets::MakeEndpoints()
{
    // All or none, so that a failure here leaves the next opening to make them again.
    std::vector<TEndpoint> endpoints;
    endpoints.push_back({ m_api.CreateUdpSocket(TAddressFamily::IPv4), nullptr });
    if (m_api.IPv6Offered())
        endpoints.push_back({ m_api.CreateUdpSocket(TAddressFamily::IPv6), nullptr });
    m_endpoints = std::move(endpoints);
}

void TDiscoverySockets::Bind(TUdpSocket& endpoint)
{
    CheckSocketCall(endpoint.Open());
    CheckSocketCall(endpoint.SetReuseAddress(false));
    if (endpoint.Family() == TAddressFamily::IPv6)
        CheckSocketCall(endpoint.SetIPv6Only(true));
    // Best effort: a system that keeps its smaller buffer still works, it only drops more in a flood.
    endpoint.SetReceiveBufferSize(Protocol::SocketBufferBytes);
    if (endpoint.Bind(Protocol::ListenPort) != 0)
        throw EOstrelError("Could not bind socket. Address and port are already in use.");
}

void TDiscoverySockets::Open()
{
    // Binding again would fail and close the endpoints that are in use.
    if (m_open)
        return;
    if (m_endpoints.empty())
        MakeEndpoints();
    try {
        for (auto& endpoint : m_endpoints)
            Bind(*endpoint.Socket);
        for (auto& endpoint : m_endpoints)
            endpoint.Receiver = std::make_unique<TEndpointReceiver>(*endpoint.Socket, m_api.NameResolver(), m_gate,
                                                                    m_onRead, m_scansBegun);
    } catch (...) {
        Close();
        throw;
    }
    m_open = true;
}

void TDiscoverySockets::SendRequest()
{
    if (!m_open)
        Open();
    TUdpSocket& sender = *m_endpoints.front().Socket;
    const auto request = EncodeAscii(Protocol::RequestText);
    CheckSocketCall(sender.SetBroadcast(true));
    const auto sent = sender.SendTo(request, std::string(Protocol::RequestAddress), Protocol::RequestPort);
    const int switchedOff = sender.SetBroadcast(false);
    if (sent.Error == SocketErrors::MessageSize)
        throw EOstrelError("Package Size Too Big.");
    CheckSocketCall(sent.Error);
    if (sent.Sent < request.size())
        throw EOstrelError("Not all bytes sent.");
    CheckSocketCall(switchedOff);
}

void TDiscoverySockets::Close()
{
    for (auto& endpoint : m_endpoints) {
        if (!endpoint.Receiver)
            continue;
        TEndpointReceiver& receiver = *endpoint.Receiver;
        receiver.RequestStop();
        endpoint.Socket->Close();
        m_gate.RunPendingUntil([&] { return receiver.Ended(); });
        endpoint.Receiver.reset();
    }
    // Those a failed opening bound, or made and failed to bind.
    for (auto endpoint = m_endpoints.rbegin(); endpoint != m_endpoints.rend(); ++endpoint)
        endpoint->Socket->Close();
    m_open = false;
}
