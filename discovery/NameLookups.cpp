#include "discovery/NameLookups.h"

#include "platform/Sockets.h"

TNameLookups::TNameLookups(TSocketApi& api, std::vector<TReceivedDatagram> batch)
    : m_remaining(batch.size())
{
    for (auto& datagram : batch) {
        if (!NeedsSenderName(datagram)) {
            Finish(std::move(datagram));
            continue;
        }
        m_lookups.emplace_back([this, &api, datagram = std::move(datagram)]() mutable {
            try {
                datagram.SenderName = api.ReverseName(datagram.SenderAddress);
            } catch (...) {
                // Without a name the reply is dropped later, like any sender without one.
            }
            Finish(std::move(datagram));
        });
    }
}

void TNameLookups::Finish(TReceivedDatagram datagram)
{
    {
        std::lock_guard lock(m_mutex);
        m_ready.push_back(std::move(datagram));
    }
    m_finished.notify_one();
}

bool TNameLookups::Done() const
{
    std::lock_guard lock(m_mutex);
    return m_remaining == 0;
}

TReceivedDatagram TNameLookups::Next()
{
    std::unique_lock lock(m_mutex);
    m_finished.wait(lock, [&] { return !m_ready.empty(); });
    auto datagram = std::move(m_ready.front());
    m_ready.pop_front();
    --m_remaining;
    return datagram;
}
