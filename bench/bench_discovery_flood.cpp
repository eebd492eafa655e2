// Many agents answering one request at once: how long until the last reply is
// merged, in which step of a scan, and how long the UI thread was held at most.
// Needs the test LAN; run it through scripts/measure-discovery.sh.
#include "discovery/DiscoverySocket.h"
#include "discovery/Reply.h"
#include "FakeControls.h"
#include "list/ComputerList.h"
#include "platform/qt/PosixSocketApi.h"
#include "platform/SyncGate.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <thread>

namespace {

using TClock = std::chrono::steady_clock;

double Milliseconds(TClock::duration duration)
{
    return std::chrono::duration<double, std::milli>(duration).count();
}

int ExpectedAgents()
{
    const char* agents = std::getenv("OSTREL_BENCH_AGENTS");
    return agents ? std::atoi(agents) : 1000;
}

void DiscoveryFlood(benchmark::State& state)
{
    const int expected = ExpectedAgents();
    for (auto _ : state) {
        TControlDecl decl;
        decl.Name = "ListBox1";
        TFakeListBox rows(decl);
        TComputerList computers(rows);
        TPosixSocketApi api;
        TSyncGate gate;
        TClock::time_point lastMerge {};
        TDiscoverySocket socket(api, gate, [&](const TReceivedDatagram& datagram) {
            if (const auto address = DiscoveredAddress(datagram)) {
                computers.MergeDiscovered(*address);
                lastMerge = TClock::now();
            }
        });
        socket.Open();

        // The scan's steps, with the pump reduced to the hand-offs it takes.
        const auto sent = TClock::now();
        socket.SendRequest();
        TClock::duration longestPump {};
        int allByStep = 0;
        for (int step = 1; step <= 50; ++step) {
            const auto pumpStarted = TClock::now();
            gate.RunPending();
            longestPump = std::max(longestPump, TClock::now() - pumpStarted);
            if (allByStep == 0 && computers.Count() >= expected)
                allByStep = step;
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        }
        socket.Close();

        state.counters["merged"] = computers.Count();
        state.counters["all_by_step"] = allByStep;
        state.counters["last_merge_ms"] = Milliseconds(lastMerge - sent);
        state.counters["longest_pump_ms"] = Milliseconds(longestPump);
    }
}

} // namespace

BENCHMARK(DiscoveryFlood)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
