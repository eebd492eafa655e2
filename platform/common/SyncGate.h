#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

// A worker thread's synchronous call into the UI thread. The worker blocks in
// Call until the UI thread has run the call in RunPending, or has released it
// unrun by Close; so the UI thread can stop workers without the two ever
// waiting on each other. Shared by every backend: a backend only says how to
// wake its UI thread.
class TSyncGate
{
public:
    // The most one RunPending holds the UI thread, however many calls keep coming.
    static constexpr std::chrono::milliseconds PumpTime { 50 };

    // wake is called when the UI thread should call RunPending soon: on a worker thread
    // after a call was queued, or on the UI thread when a pump left calls over. It is not
    // called again before RunPending has started, and must not block.
    void SetWake(std::function<void()> wake);

    // Worker thread: has the UI thread run work, a slice at a time: work returns true while
    // it has more to do, and a pump whose time is up leaves the rest to the next pump.
    // Blocks until work returned false (true) or was released by Close (false). An
    // exception thrown by work ends it and is rethrown here.
    bool Call(std::function<bool()> work);

    // UI thread: runs the waiting calls in order until none is left or PumpTime has passed.
    // True when calls are left over; they are woken for again.
    bool RunPending();
    bool HasPending() const { return PendingCalls() > 0; }
    std::size_t PendingCalls() const;

    // UI thread, at shutdown: runs calls to their end as they come until finished() holds. A
    // worker that changes what finished() reads calls Signal afterwards.
    void RunPendingUntil(const std::function<bool()>& finished);
    void Signal();

    // UI thread: releases the waiting calls unrun and refuses every later one.
    void Close();

private:
    struct TPendingCall;
    using TClock = std::chrono::steady_clock;

    // Runs slices of pending until it is done or deadline has passed; true when done.
    bool RunSlices(TPendingCall& pending, TClock::time_point deadline);
    void Finish(TPendingCall& pending, std::exception_ptr error);
    // Takes the lock's duty to wake over to the caller: the wake to call outside the lock, or none.
    std::function<void()> WakeOnce();

    mutable std::mutex m_mutex;
    std::condition_variable m_done;
    std::condition_variable m_arrived;
    std::deque<std::shared_ptr<TPendingCall>> m_pending;
    std::function<void()> m_wake;
    bool m_woken = false;
    bool m_closed = false;
};
