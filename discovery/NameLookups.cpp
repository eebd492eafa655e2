#include "discovery/NameLookups.h"

#include "platform/Sockets.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

struct TNameLookups::TState
{
    explicit TState(std::shared_ptr<TNameResolver> resolver)
        : Resolver(std::move(resolver))
    { }

    // Runs on the lookup's own thread.
    void LookUp(TReceivedDatagram datagram)
    {
        try {
            datagram.SenderName = Resolver->ReverseName(datagram.SenderAddress);
        } catch (...) {
            // Without a name the reply is dropped later, like any sender without one.
        }
        {
            std::lock_guard lock(Mutex);
            --Running;
            if (!Stopped)
                Ready.push_back(std::move(datagram));
        }
        Changed.notify_all();
    }

    const std::shared_ptr<TNameResolver> Resolver;
    mutable std::mutex Mutex;
    std::condition_variable Changed;
    std::deque<TReceivedDatagram> Ready;
    std::size_t Running = 0;
    bool Stopped = false;
};

TNameLookups::TNameLookups(std::shared_ptr<TNameResolver> resolver)
    : m_state(std::make_shared<TState>(std::move(resolver)))
{ }

TNameLookups::~TNameLookups()
{
    Stop();
}

bool TNameLookups::WaitForRoom()
{
    std::unique_lock lock(m_state->Mutex);
    m_state->Changed.wait(lock, [&] {
        return m_state->Stopped
            || (m_state->Running < MaxRunning && m_state->Running + m_state->Ready.size() < MaxHeld);
    });
    return !m_state->Stopped;
}

void TNameLookups::Add(TReceivedDatagram datagram)
{
    std::unique_lock lock(m_state->Mutex);
    if (m_state->Stopped)
        return;
    if (!NeedsSenderName(datagram)) {
        m_state->Ready.push_back(std::move(datagram));
        lock.unlock();
        m_state->Changed.notify_all();
        return;
    }
    ++m_state->Running;
    try {
        std::thread([state = m_state, datagram = std::move(datagram)]() mutable {
            state->LookUp(std::move(datagram));
        }).detach();
    } catch (...) {
        --m_state->Running;
        throw;
    }
}

bool TNameLookups::WaitForReady()
{
    std::unique_lock lock(m_state->Mutex);
    m_state->Changed.wait(lock, [&] { return m_state->Stopped || !m_state->Ready.empty(); });
    return !m_state->Stopped;
}

std::optional<TReceivedDatagram> TNameLookups::TakeReady()
{
    std::optional<TReceivedDatagram> next;
    {
        std::lock_guard lock(m_state->Mutex);
        if (m_state->Stopped || m_state->Ready.empty())
            return std::nullopt;
        next = std::move(m_state->Ready.front());
        m_state->Ready.pop_front();
    }
    // Room for the reader.
    m_state->Changed.notify_all();
    return next;
}

bool TNameLookups::HasReady() const
{
    std::lock_guard lock(m_state->Mutex);
    return !m_state->Stopped && !m_state->Ready.empty();
}

void TNameLookups::Stop()
{
    {
        std::lock_guard lock(m_state->Mutex);
        m_state->Stopped = true;
        m_state->Ready.clear();
    }
    m_state->Changed.notify_all();
}
