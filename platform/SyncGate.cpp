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

bool TSyncGate::Call(std::function<void()> call)
{
    auto pending = std::make_shared<TPendingCall>();
    pending->Call = std::move(call);
    std::function<void()> wake;
    {
        std::lock_guard lock(m_mutex);
        if (m_closed)
            return false;
        m_pending.push_back(pending);
        wake = m_wake;
    }
    if (wake)
        wake();

    std::unique_lock lock(m_mutex);
    m_done.wait(lock, [&] { return pending->Finished; });
    if (pending->Error)
        std::rethrow_exception(pending->Error);
    return pending->Ran;
}

int TSyncGate::RunPending()
{
    int ran = 0;
    for (;;) {
        std::shared_ptr<TPendingCall> next;
        {
            std::lock_guard lock(m_mutex);
            if (m_pending.empty())
                return ran;
            next = m_pending.front();
            m_pending.pop_front();
        }
        try {
            next->Call();
        } catch (...) {
            next->Error = std::current_exception();
        }
        {
            std::lock_guard lock(m_mutex);
            next->Ran = true;
            next->Finished = true;
        }
        m_done.notify_all();
        ++ran;
    }
}

bool TSyncGate::HasPending() const
{
    std::lock_guard lock(m_mutex);
    return !m_pending.empty();
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
}
