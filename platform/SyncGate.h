#pragma once

#include <chrono>
#include <condition_variable>
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
    // wake is called on the worker thread after a call was queued; it must make
    // the UI thread call RunPending soon, and must not block.
    void SetWake(std::function<void()> wake);

    // Worker thread: true when call ran on the UI thread, false when it was
    // released unrun. An exception thrown by call is rethrown here. announced:
    // this call keeps an earlier Announce of the same worker.
    bool Call(std::function<void()> call, bool announced = false);

    // Worker thread: tells the gate that a call is about to follow (its input is
    // already there), so that RunPending waits briefly for it rather than
    // leaving it to the next pump. Kept by Call(..., true) or taken back by Withdraw.
    void Announce();
    void Withdraw();

    // UI thread: runs every call that is waiting, in order, and those announced
    // that arrive within AnnouncedWait each; returns how many ran.
    int RunPending();
    bool HasPending() const;

    // UI thread: runs calls as they come until finished() holds. A worker that
    // changes what finished() reads calls Signal afterwards.
    void RunPendingUntil(const std::function<bool()>& finished);
    void Signal();

    // UI thread: releases the waiting calls unrun and refuses every later one.
    void Close();

private:
    struct TPendingCall;

    static constexpr std::chrono::milliseconds AnnouncedWait { 50 };

    // Takes the next waiting call, first waiting up to AnnouncedWait for an announced one.
    std::shared_ptr<TPendingCall> NextCall();
    void RunCall(TPendingCall& pending);

    mutable std::mutex m_mutex;
    std::condition_variable m_done;
    std::condition_variable m_arrived;
    std::deque<std::shared_ptr<TPendingCall>> m_pending;
    std::function<void()> m_wake;
    int m_announced = 0;
    bool m_closed = false;
};
