#pragma once

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
    // released unrun. An exception thrown by call is rethrown here.
    bool Call(std::function<void()> call);

    // UI thread: runs every call that is waiting, in order; returns how many ran.
    int RunPending();
    bool HasPending() const;

    // UI thread: releases the waiting calls unrun and refuses every later one.
    void Close();

private:
    struct TPendingCall;

    mutable std::mutex m_mutex;
    std::condition_variable m_done;
    std::deque<std::shared_ptr<TPendingCall>> m_pending;
    std::function<void()> m_wake;
    bool m_closed = false;
};
