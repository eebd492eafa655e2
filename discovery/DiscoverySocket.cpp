#include "discovery/DiscoverySocket.h"

#include "discovery/AsciiCodec.h"
#include "discovery/Protocol.h"
#include "discovery/SocketErrorText.h"
#include "platform/OstrelError.h"
#include "platform/Sockets.h"
#include "platform/SyncGate.h"

TDiscoverySocket::TDiscoverySocket(TSocketApi& api, TSyncGate& gate, TReceiveThread::TReadHandler onRead)
    : m_api(api)
    , m_gate(gate)
    , m_onRead(std::move(onRead))
{ }

TDiscoverySocket::~TDiscoverySocket()
{
    Close();
}

void TDiscoverySocket::MakeEndpoints()
{
    m_endpoints.push_back(m_api.CreateUdpSocket(TAddressFamily::IPv4));
    if (m_api.IPv6Offered())
        m_endpoints.push_back(m_api.CreateUdpSocket(TAddressFamily::IPv6));
}

void TDiscoverySocket::Bind(TUdpSocket& endpoint)
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

void TDiscoverySocket::Open()
{
    // Binding again would fail and close the endpoints that are in use.
    if (m_open)
        return;
    if (m_endpoints.empty())
        MakeEndpoints();
    std::size_t bound = 0;
    try {
        for (; bound < m_endpoints.size(); ++bound)
            Bind(*m_endpoints[bound]);
    } catch (const EOstrelError&) {
        // The one that failed, then those this opening bound, newest first.
        for (std::size_t i = bound + 1; i-- > 0;)
            m_endpoints[i]->Close();
        throw;
    }
    for (auto& endpoint : m_endpoints)
        m_threads.push_back(std::make_unique<TReceiveThread>(*endpoint, m_api, m_gate, m_onRead));
    m_open = true;
}

void TDiscoverySocket::SendRequest()
{
    if (!m_open)
        Open();
    TUdpSocket& sender = *m_endpoints.front();
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

void TDiscoverySocket::Close()
{
    for (std::size_t i = 0; i < m_threads.size(); ++i) {
        TReceiveThread& thread = *m_threads[i];
        thread.RequestStop();
        m_endpoints[i]->Close();
        m_gate.RunPendingUntil([&] { return thread.Ended(); });
        thread.Join();
    }
    m_threads.clear();
    m_open = false;
}
