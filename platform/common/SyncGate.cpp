#include "platform/common/SyncGate.h"

struct TSyncGate::TPendingCall
{
    std::function<bool()> Work;
    std::exception_ptr Error;
    bool Finished = false;
    bool Ran = false;
};

void TSyncGate::SetWake(std::function<void()> wake)
{
    std::lock_guard lock(m_mutex);
    m_wake = std::move(wake);
}

std::function<void()> TSyncGate::WakeOnce()
{
    if (m_woken || !m_wake)
        return {};
    m_woken = true;
    return m_wake;
}

bool TSyncGate::Call(std::function<bool()> work)
{
    auto pending = std::make_shared<TPendingCall>();
    pending->Work = std::move(work);
    std::function<void()> wake;
    {
        std::lock_guard lock(m_mutex);
        if (m_closed)
            return false;
        m_pending.push_back(pending);
        wake = WakeOnce();
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

bool TSyncGate::RunSlices(TPendingCall& pending, TClock::time_point deadline)
{
    try {
        while (pending.Work())
            if (TClock::now() >= deadline)
                return false;
        Finish(pending, nullptr);
    } catch (...) {
        Finish(pending, std::current_exception());
    }
    return true;
}

void TSyncGate::Finish(TPendingCall& pending, std::exception_ptr error)
{
    {
        std::lock_guard lock(m_mutex);
        pending.Error = std::move(error);
        pending.Ran = true;
        pending.Finished = true;
    }
    m_done.notify_all();
}

bool TSyncGate::RunPending()
{
    const auto deadline = TClock::now() + PumpTime;
    std::unique_lock lock(m_mutex);
    // A call queued from now on needs a wake of its own.
    m_woken = false;
    while (!m_pending.empty() && TClock::now() < deadline) {
        const auto next = m_pending.front();
        lock.unlock();
        const bool done = RunSlices(*next, deadline);
        lock.lock();
        if (!done)
            break;
        m_pending.pop_front();
    }
    // What is left over must not wait for a worker's next call, which may never come.
    const bool leftOver = !m_pending.empty();
    std::function<void()> wake;
    if (leftOver)
        wake = WakeOnce();
    lock.unlock();
    if (wake)
        wake();
    return leftOver;
}

std::size_t TSyncGate::PendingCalls() const
{
    std::lock_guard lock(m_mutex);
    return m_pending.size();
}

void TSyncGate::RunPendingUntil(const std::function<bool()>& finished)
{
    std::unique_lock lock(m_mutex);
    while (!finished()) {
        if (m_pending.empty()) {
            m_arrived.wait(lock);
            continue;
        }
        const auto next = m_pending.front();
        m_pending.pop_front();
        lock.unlock();
        RunSlices(*next, TClock::time_point::max());
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
        for (auto& pending : m_pending)
            pending->Finished = true;
        m_pending.clear();
    }
    m_done.notify_all();
    m_arrived.notify_all();
}
