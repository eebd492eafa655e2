#include "discovery/ReceiveThread.h"

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
            announced = HandOne(announced);
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

bool TReceiveThread::HandOne(bool announced)
{
    const auto received = m_socket.Receive(m_buffer);
    const bool usable = received.Error == 0 && !received.Truncated;
    TReceivedDatagram datagram;
    if (usable) {
        const auto size = static_cast<std::ptrdiff_t>(received.Size);
        datagram.Payload.assign(m_buffer.begin(), m_buffer.begin() + size);
        datagram.SenderAddress = received.Sender;
        if (NeedsSenderName(datagram))
            datagram.SenderName = m_api.ReverseName(datagram.SenderAddress);
    }

    // A datagram already waiting behind this one lets the UI thread's pump stay for it.
    const bool nextAnnounced = !m_stopRequested && m_socket.Wait(0).Readable;
    if (nextAnnounced)
        m_gate.Announce();

    if (!usable) {
        if (announced)
            m_gate.Withdraw();
        return nextAnnounced;
    }
    try {
        m_gate.Call([&] { m_onRead(datagram); }, announced);
    } catch (...) {
        // The reply handler's own failure comes back here and is dropped.
    }
    return nextAnnounced;
}
