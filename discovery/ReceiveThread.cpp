#include "discovery/ReceiveThread.h"

#include "discovery/NameLookups.h"
#include "discovery/Protocol.h"
#include "platform/Sockets.h"
#include "platform/SyncGate.h"

TReceiveThread::TReceiveThread(TUdpSocket& socket, TSocketApi& api, TSyncGate& gate, TReadHandler onRead)
    : m_socket(socket)
    , m_api(api)
    , m_gate(gate)
    , m_onRead(std::move(onRead))
    , m_buffer(Protocol::DatagramSize)
{
    m_thread = std::thread([this] { Run(); });
}

TReceiveThread::~TReceiveThread()
{
    RequestStop();
    Join();
}

void TReceiveThread::Join()
{
    if (m_thread.joinable())
        m_thread.join();
}

void TReceiveThread::Run()
{
    bool announced = false;
    for (;;) {
        if (!announced) {
            const auto wait = m_socket.Wait(Protocol::WaitSliceMilliseconds);
            if (wait.Error != 0) {
                m_socket.Close();
                break;
            }
            if (!wait.Readable && !m_stopRequested)
                continue;
        }
        if (m_stopRequested) {
            if (announced)
                m_gate.Withdraw();
            break;
        }
        try {
            announced = HandBatch(announced);
        } catch (...) {
            // A datagram that cannot be read or handled is dropped without a word.
            if (announced)
                m_gate.Withdraw();
            announced = false;
        }
    }
    m_ended = true;
    m_gate.Signal();
}

std::vector<TReceivedDatagram> TReceiveThread::ReadBatch()
{
    std::vector<TReceivedDatagram> batch;
    for (;;) {
        const auto received = m_socket.Receive(m_buffer);
        if (received.Error != 0)
            break;
        if (!received.Truncated) {
            const auto end = m_buffer.begin() + static_cast<std::ptrdiff_t>(received.Size);
            batch.push_back({ { m_buffer.begin(), end }, received.Sender, std::nullopt });
        }
        if (batch.size() == BatchSize || !m_socket.Wait(0).Readable)
            break;
    }
    return batch;
}

bool TReceiveThread::HandBatch(bool announced)
{
    TNameLookups lookups(m_api, ReadBatch());
    int calls = 0;
    while (!lookups.Done()) {
        const auto datagram = lookups.Next();
        if (m_stopRequested)
            break;
        // More of this batch, or a datagram waiting behind it, lets the UI thread's pump stay
        // for it; a slow lookup only makes the pump give up waiting after a moment.
        const bool nextAnnounced = !lookups.Done() || m_socket.Wait(0).Readable;
        if (nextAnnounced)
            m_gate.Announce();
        try {
            m_gate.Call([&] { m_onRead(datagram); }, announced);
        } catch (...) {
            // The reply handler's own failure comes back here and is dropped.
        }
        ++calls;
        announced = nextAnnounced;
    }
    // An announcement no call kept: nothing usable came, or the thread is stopping.
    if (announced && (calls == 0 || m_stopRequested)) {
        m_gate.Withdraw();
        announced = false;
    }
    return announced;
}
