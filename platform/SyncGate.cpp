#include "platform/SyncGate.h"

struct TSyncGate::TPendingCall
{
    std::function<void()> Call;
    std::exception_ptr Error;
    bool Finished = false;
    bool Ran = false;
};

void TSyncGate::SetWake(std::function<void()> wake)
{
    std::lock_guard lock(m_mutex);
    m_wake = std::move(wake);
}

bool TSyncGate::Call(std::function<void()> call, bool announced)
{
    auto pending = std::make_shared<TPendingCall>();
    pending->Call = std::move(call);
    std::function<void()> wake;
    {
        std::lock_guard lock(m_mutex);
        if (announced && m_announced > 0)
            --m_announced;
        if (m_closed)
            return false;
        m_pending.push_back(pending);
        wake = m_wake;
    }
    m_arrived.notify_all();
    if (wake)
        wake();

    std::unique_lock lock(m_mutex);
    m_done.wait(lock, [&] { return pending->Finished; });
    if (pending->Error)
        std::rethrow_exception(pending->Error);
    return pending->Ran;
}

void TSyncGate::Announce()
{
    std::lock_guard lock(m_mutex);
    ++m_announced;
}

void TSyncGate::Withdraw()
{
    {
        std::lock_guard lock(m_mutex);
        if (m_announced > 0)
            --m_announced;
    }
    m_arrived.notify_all();
}

std::shared_ptr<TSyncGate::TPendingCall> TSyncGate::NextCall()
{
    std::unique_lock lock(m_mutex);
    m_arrived.wait_for(lock, AnnouncedWait, [&] { return !m_pending.empty() || m_announced == 0 || m_closed; });
    // An announced call that is slow to come (a slow name lookup) is left to a later pump.
    if (m_pending.empty())
        return nullptr;
    auto next = m_pending.front();
    m_pending.pop_front();
    return next;
}

void TSyncGate::RunCall(TPendingCall& pending)
{
    try {
        pending.Call();
    } catch (...) {
        pending.Error = std::current_exception();
    }
    {
        std::lock_guard lock(m_mutex);
        pending.Ran = true;
        pending.Finished = true;
    }
    m_done.notify_all();
}

int TSyncGate::RunPending()
{
    int ran = 0;
    while (auto next = NextCall()) {
        RunCall(*next);
        ++ran;
    }
    return ran;
}

bool TSyncGate::HasPending() const
{
    std::lock_guard lock(m_mutex);
    return !m_pending.empty();
}

void TSyncGate::RunPendingUntil(const std::function<bool()>& finished)
{
    std::unique_lock lock(m_mutex);
    while (!finished()) {
        if (m_pending.empty()) {
            m_arrived.wait(lock);
            continue;
        }
        auto next = m_pending.front();
        m_pending.pop_front();
        lock.unlock();
        RunCall(*next);
        lock.lock();
    }
}

void TSyncGate::Signal()
{
    // Taking the lock orders the caller's change before a waiter's next look at its condition.
    {
        std::lock_guard lock(m_mutex);
    }
    m_arrived.notify_all();
}

void TSyncGate::Close()
{
    {
        std::lock_guard lock(m_mutex);
        m_closed = true;
        m_announced = 0;
        for (auto& pending : m_pending)
            pending->Finished = true;
        m_pending.clear();
    }
    m_done.notify_all();
    m_arrived.notify_all();
}
