#include "discovery/NameLookups.h"

#include "discovery/Reply.h"
#include "platform/Sockets.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace {
// A lookup thread with nothing to do for this long ends, so a quiet program keeps none.
constexpr std::chrono::seconds IdleLifetime { 10 };
} // namespace

struct TNameLookups::TState
{
    explicit TState(std::shared_ptr<TNameResolver> resolver)
        : Resolver(std::move(resolver))
    { }

    // A lookup thread: looks up the names of the datagrams waiting until it has been idle
    // for IdleLifetime or the lookups are stopped.
    static void Serve(const std::shared_ptr<TState>& state)
    {
        std::unique_lock lock(state->Mutex);
        for (;;) {
            ++state->Idle;
            const bool work
                = state->Work.wait_for(lock, IdleLifetime, [&] { return state->Stopped || !state->Waiting.empty(); });
            --state->Idle;
            if (!work || state->Stopped)
                break;
            auto datagram = std::move(state->Waiting.front());
            state->Waiting.pop_front();
            ++state->Running;
            lock.unlock();
            try {
                datagram.SenderName = state->Resolver->ReverseName(datagram.SenderAddress);
            } catch (...) {
                // Without a name the reply is dropped later, like any sender without one.
            }
            lock.lock();
            --state->Running;
            if (!state->Stopped)
                state->Ready.push_back(std::move(datagram));
            state->Changed.notify_all();
        }
        --state->Threads;
    }

    // Datagrams read and not yet taken.
    std::size_t Held() const { return Waiting.size() + Running + Ready.size(); }

    const std::shared_ptr<TNameResolver> Resolver;
    mutable std::mutex Mutex;
    // For the reader and the hand-off: room made, a datagram ready, or stopped.
    std::condition_variable Changed;
    // For the lookup threads: a datagram waits for its name, or stopped.
    std::condition_variable Work;
    // Datagrams waiting for a lookup thread.
    std::deque<TReceivedDatagram> Waiting;
    std::deque<TReceivedDatagram> Ready;
    std::size_t Running = 0;
    std::size_t Threads = 0;
    std::size_t Idle = 0;
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
            || (m_state->Waiting.size() + m_state->Running < MaxRunning && m_state->Held() < MaxHeld);
    });
    return !m_state->Stopped;
}

void TNameLookups::Add(TReceivedDatagram datagram)
{
    std::unique_lock lock(m_state->Mutex);
    if (m_state->Stopped)
        return;
    const bool named = NeedsSenderName(datagram);
    (named ? m_state->Waiting : m_state->Ready).push_back(std::move(datagram));
    if (named && m_state->Idle < m_state->Waiting.size() && m_state->Threads < MaxRunning) {
        try {
            // Detached: a resolver call cannot be cancelled, so a thread in one is abandoned at shutdown.
            std::thread([state = m_state] { TState::Serve(state); }).detach();
            ++m_state->Threads;
        } catch (...) {
            // The threads there are serve it; with none, nobody would.
            if (m_state->Threads == 0) {
                m_state->Waiting.pop_back();
                throw;
            }
        }
    }
    lock.unlock();
    if (named)
        m_state->Work.notify_one();
    else
        m_state->Changed.notify_all();
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
        m_state->Waiting.clear();
        m_state->Ready.clear();
    }
    m_state->Changed.notify_all();
    m_state->Work.notify_all();
}
