#pragma once

#include "platform/common/SyncGate.h"
#include "platform/OstrelError.h"

#include <chrono>
#include <functional>
#include <string>
#include <thread>

// Takes up hand-offs as the UI thread would until done() holds; false when limit passed first.
inline bool PumpUntil(TSyncGate& gate, const std::function<bool()>& done,
                      std::chrono::milliseconds limit = std::chrono::seconds(5))
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        gate.RunPending();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// The user's text of the error action throws, or empty when it throws none.
inline std::string ErrorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const EOstrelError& error) {
        return error.what();
    }
    return {};
}
