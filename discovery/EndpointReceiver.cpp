#include "discovery/EndpointReceiver.h"

#include "discovery/Protocol.h"
#include "platform/common/SyncGate.h"
#include "platform/Sockets.h"

TEndpointReceiver::TEndpointReceiver(TUdpSocket& socket, std::shared_ptr<TNameResolver> resolver, TSyncGate& gate,
                                     TReadHandler onRead, const std::atomic<unsigned>& scansBegun)
    : m_socket(socket)
    , m_gate(gate)
    , m_onRead(std::move(onRead))
    , m_scansBegun(scansBegun)
    , m_lookups(std::move(resolver))
    , m_buffer(Protocol::DatagramSize)
{
    m_handOff = std::thread([this] { HandOff(); });
    try {
        m_reader = std::thread([this] { Read(); });
    } catch (...) {
        // The hand-off thread stops at once; nothing of this endpoint is left running.
        RequestStop();
        m_handOff.join();
        throw;
    }
}

TEndpointReceiver::~TEndpointReceiver()
{
    RequestStop();
    Join();
}

void TEndpointReceiver::RequestStop()
{
    m_stopRequested = true;
    m_lookups.Stop();
}

void TEndpointReceiver::Join()
{
    if (m_reader.joinable())
        m_reader.join();
    if (m_handOff.joinable())
        m_handOff.join();
}

void TEndpointReceiver::Read()
{
    while (m_lookups.WaitForRoom()) {
        const auto wait = m_socket.Wait(Protocol::WaitSliceMilliseconds);
        if (wait.Error != 0) {
            m_socket.Close();
            break;
        }
        if (m_stopRequested)
            break;
        if (!wait.Readable)
            continue;
        try {
            const auto received = m_socket.Receive(m_buffer);
            // A datagram that cannot be read, or did not fit the buffer, is dropped without a word.
            if (received.Error == 0 && !received.Truncated) {
                const auto end = m_buffer.begin() + static_cast<std::ptrdiff_t>(received.Size);
                m_lookups.Add({ { m_buffer.begin(), end }, received.Sender, std::nullopt, m_scansBegun.load() });
            }
        } catch (...) {
            // Likewise one whose lookup cannot be started.
        }
    }
    m_readerEnded = true;
    m_gate.Signal();
}

void TEndpointReceiver::HandOff()
{
    while (m_lookups.WaitForReady()) {
        try {
            if (!m_gate.Call([this] { return HandNext(); }))
                break;
        } catch (...) {
            // HandNext lets nothing escape; a failure of the gate itself drops what was ready.
        }
    }
    m_handOffEnded = true;
    m_gate.Signal();
}

bool TEndpointReceiver::HandNext()
{
    if (const auto datagram = m_lookups.TakeReady()) {
        try {
            m_onRead(*datagram);
        } catch (...) {
            // The reply handler's own failure is dropped, and the next datagram handled.
        }
    }
    return m_lookups.HasReady();
}
