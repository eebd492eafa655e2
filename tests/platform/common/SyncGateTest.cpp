#include "platform/common/SyncGate.h"

#include "platform/OstrelError.h"

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace {

using namespace std::chrono_literals;
using TClock = std::chrono::steady_clock;

class SyncGate : public testing::Test
{
protected:
    SyncGate()
    {
        Gate.SetWake([this] { ++Wakes; });
    }

    // Starts a worker that makes one call of work and keeps what Call gave back.
    void StartWorker(std::function<bool()> work)
    {
        Worker = std::jthread([this, work = std::move(work)] {
            try {
                Ran = Gate.Call(work);
            } catch (const EOstrelError& error) {
                Error = error.what();
            }
            Returned = true;
            Gate.Signal();
        });
        // Queued, and the UI thread woken: the wake comes just after the call is queued.
        while (!Gate.HasPending() || Wakes == 0)
            std::this_thread::yield();
    }

    TSyncGate Gate;
    std::atomic<int> Wakes = 0;
    std::jthread Worker;
    std::atomic<bool> Returned = false;
    bool Ran = false;
    std::string Error;
};

TEST_F(SyncGate, CallRunsOnThePumpingThreadAndCarriesItsErrorBack)
{
    std::thread::id ranOn;
    StartWorker([&] {
        ranOn = std::this_thread::get_id();
        throw EOstrelError("bad reply");
        return false;
    });
    EXPECT_FALSE(Returned) << "the worker waits for the UI thread";
    EXPECT_FALSE(Gate.RunPending());
    Worker.join();
    EXPECT_EQ(ranOn, std::this_thread::get_id());
    EXPECT_EQ(Error, "bad reply");
}

TEST_F(SyncGate, APumpUnderAnEndlessStreamStopsAtItsTimeAndWakesForTheRest)
{
    // Work that always has more to do stands for replies that never stop coming.
    std::atomic<bool> streaming = true;
    std::atomic<int> slices = 0;
    StartWorker([&] {
        ++slices;
        std::this_thread::sleep_for(1ms);
        return streaming.load();
    });
    ASSERT_EQ(Wakes, 1);
    const auto started = TClock::now();
    EXPECT_TRUE(Gate.RunPending()) << "calls were left over";
    EXPECT_LT(TClock::now() - started, 10 * TSyncGate::PumpTime) << "the pump waited for the stream to end";
    EXPECT_GT(slices, 1);
    EXPECT_EQ(Wakes, 2) << "left-over calls wait for no worker to wake the UI thread again";
    EXPECT_FALSE(Returned);

    // The next pump goes on with the same call.
    const int before = slices;
    streaming = false;
    EXPECT_FALSE(Gate.RunPending());
    Worker.join();
    EXPECT_EQ(slices, before + 1);
    EXPECT_TRUE(Ran);
    EXPECT_EQ(Wakes, 2);
}

TEST_F(SyncGate, WakesOnceForCallsQueuedBeforeThePumpStarts)
{
    constexpr int Calls = 5;
    std::atomic<int> ran = 0;
    std::vector<std::jthread> workers;
    for (int i = 0; i < Calls; ++i)
        workers.emplace_back([&] {
            Gate.Call([&] {
                ++ran;
                return false;
            });
        });
    while (Gate.PendingCalls() < Calls || Wakes == 0)
        std::this_thread::yield();
    EXPECT_EQ(Wakes, 1) << "one wake stands for every call queued before the pump";
    // A pump the machine slowed past its time leaves calls over, and wakes once for them.
    int leftOver = 0;
    while (ran < Calls)
        leftOver += Gate.RunPending() ? 1 : 0;
    for (auto& worker : workers)
        worker.join();
    Gate.RunPending();
    EXPECT_EQ(Wakes, 1 + leftOver) << "nothing left over, nothing to wake for";
}

TEST_F(SyncGate, AtShutdownCallsRunToTheirEndAndThenAreReleased)
{
    int slices = 0;
    StartWorker([&] { return ++slices < 3; });
    Gate.RunPendingUntil([&] { return Returned.load(); });
    EXPECT_EQ(slices, 3);
    EXPECT_TRUE(Ran);
    Worker.join();

    Returned = false;
    StartWorker([] { return false; });
    Gate.Close();
    Worker.join();
    EXPECT_FALSE(Ran) << "released unrun";
    EXPECT_FALSE(Gate.Call([] { return false; })) << "refused once closed";
}

} // namespace
