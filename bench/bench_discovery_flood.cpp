// Many agents answering one request at once, through the Qt backend's real pump and a
// real list view (offscreen) on the test LAN. Two rounds:
// - "first show": a request with the main event loop running, as after the window is
//   shown: how many were merged, how long from the request to the last merge, the
//   longest stretch of work the UI thread did before it came back to its events, and
//   the longest an event waited for it (which includes time the system gave to others);
// - "scan": the scan's 50 steps: by which step every agent was online again, and the
//   longest a step's pump held the UI thread.
// Needs the test LAN; run it through scripts/measure-discovery.sh.
#include "discovery/DiscoverySockets.h"
#include "discovery/Reply.h"
#include "discovery/Scan.h"
#include "FakeControls.h"
#include "list/ComputerList.h"
#include "list/Info.h"
#include "OffscreenBench.h"
#include "platform/common/SyncGate.h"
#include "ui/RowPainter.h"

#include <algorithm>
#include <atomic>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <pthread.h>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>
#include <thread>
#include <time.h>

namespace {

using TClock = std::chrono::steady_clock;
using namespace std::chrono_literals;

TQtPlatform* Platform = nullptr;

double Milliseconds(TClock::duration duration)
{
    return std::chrono::duration<double, std::milli>(duration).count();
}

int EnvironmentNumber(const char* name, int fallback)
{
    const char* value = std::getenv(name);
    return value ? std::atoi(value) : fallback;
}

// Posts a stamped call to the UI thread every millisecond and keeps the longest any of
// them waited, as time on the clock and as processor time the UI thread spent meanwhile:
// the longest stretch of work the UI thread did before it came back to its events, apart
// from the time the system gave to other threads.
class TLatencyProbe
{
public:
    explicit TLatencyProbe(QObject& uiObject)
    {
        pthread_getcpuclockid(pthread_self(), &m_uiClock);
        m_thread = std::jthread([this, &uiObject] {
            while (!m_stop) {
                const auto posted = TClock::now();
                const auto worked = UiProcessorTime();
                QMetaObject::invokeMethod(
                    &uiObject,
                    [this, posted, worked] {
                        m_longestWait = std::max(m_longestWait, TClock::now() - posted);
                        m_longestWork = std::max(m_longestWork, UiProcessorTime() - worked);
                    },
                    Qt::QueuedConnection);
                std::this_thread::sleep_for(1ms);
            }
        });
    }
    ~TLatencyProbe()
    {
        m_stop = true;
        m_thread.join();
    }
    TClock::duration LongestWait() const { return m_longestWait; }
    std::chrono::nanoseconds LongestWork() const { return m_longestWork; }

private:
    std::chrono::nanoseconds UiProcessorTime() const
    {
        timespec now {};
        clock_gettime(m_uiClock, &now);
        return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
    }

    clockid_t m_uiClock {};
    std::atomic<bool> m_stop = false;
    TClock::duration m_longestWait {};
    std::chrono::nanoseconds m_longestWork {};
    std::jthread m_thread;
};

// The real application with the length of every pump recorded, and after which pump
// done() first held.
class TTimedPumps : public TApplication
{
public:
    TTimedPumps(TApplication& real, std::function<bool()> done)
        : m_real(real)
        , m_done(std::move(done))
    { }
    void Run(TForm& mainForm) override { m_real.Run(mainForm); }
    void ProcessMessages() override
    {
        const auto started = TClock::now();
        m_real.ProcessMessages();
        Longest = std::max(Longest, TClock::now() - started);
        ++m_pumps;
        if (DoneAfter == 0 && m_done())
            DoneAfter = m_pumps;
    }
    void Terminate() override { m_real.Terminate(); }
    bool Terminated() const override { return m_real.Terminated(); }
    void ShowErrorBox(const std::string& message) override { m_real.ShowErrorBox(message); }
    void ShowException(const std::exception& error) override { m_real.ShowException(error); }
    std::uint32_t GetTickCount() override { return m_real.GetTickCount(); }
    void Sleep(std::uint32_t milliseconds) override { m_real.Sleep(milliseconds); }
    void MaskDivisionByZero() override { }
    TSyncGate& SyncGate() override { return m_real.SyncGate(); }

    TClock::duration Longest {};
    int DoneAfter = 0;

private:
    TApplication& m_real;
    std::function<bool()> m_done;
    int m_pumps = 0;
};

int OnlineCount(const TComputerList& computers)
{
    int online = 0;
    for (int row = 0; row < computers.Count(); ++row)
        if (const TInfo* status = computers.Status(row); status && status->Online)
            ++online;
    return online;
}

void DiscoveryFlood(benchmark::State& state)
{
    // Every agent answers; the slow ones' names come late, or never when they are nameless.
    const int agents = EnvironmentNumber("OSTREL_BENCH_AGENTS", 1000);
    const int slow = EnvironmentNumber("OSTREL_BENCH_SLOW", 0);
    const int named = EnvironmentNumber("OSTREL_BENCH_NAMELESS", 0) ? agents - slow : agents;
    TApplication& application = Platform->Application();
    for (auto _ : state) {
        QWidget window;
        auto list = CreateListBox1(window);
        TComputerList computers(*list);
        const auto icon = Platform->LoadPicture("computer.png");
        const auto badge = Platform->LoadPicture("badge.png");
        const TRowPainter painter(*icon, *badge);
        list->OnDrawItem = [&](int row, const TRect& rect, TOwnerDrawState drawState, TCanvas& canvas) {
            painter.Draw(canvas, rect, drawState.Selected, computers.Text(row), computers.Status(row));
        };
        window.resize(283, 423);
        window.show();
        QApplication::processEvents();

        TClock::time_point lastMerge {};
        TClock::time_point othersMerged {};
        TDiscoverySockets socket(Platform->Sockets(), application.SyncGate(), [&](const TReceivedDatagram& datagram) {
            if (const auto address = DiscoveredAddress(datagram)) {
                computers.MergeDiscovered(*address);
                lastMerge = TClock::now();
                if (computers.Count() == agents - slow && othersMerged == TClock::time_point {})
                    othersMerged = lastMerge;
            }
        });
        socket.Open();

        // First show: the main event loop takes the replies.
        {
            TLatencyProbe probe(window);
            QEventLoop loop;
            QTimer check;
            const auto sent = TClock::now();
            QObject::connect(&check, &QTimer::timeout, [&] {
                if (computers.Count() >= named || TClock::now() - sent > 15s)
                    loop.quit();
            });
            check.start(5);
            socket.SendRequest();
            loop.exec();
            // Late replies of agents that answered twice, or of slow names, are not waited for.
            state.counters["merged"] = computers.Count();
            state.counters["last_merge_ms"] = Milliseconds(lastMerge - sent);
            state.counters["others_merged_ms"] = Milliseconds(othersMerged - sent);
            state.counters["longest_stretch_ms"] = Milliseconds(probe.LongestWork());
            state.counters["longest_event_wait_ms"] = Milliseconds(probe.LongestWait());
        }

        // The scan: every entry offline, one request, 50 steps of pump and pause.
        TTimedPumps pumps(application, [&] { return OnlineCount(computers) >= named; });
        TFakeButton button(TControlDecl {});
        TFakeProgressBar progressBar(TControlDecl {});
        const auto scanned = TClock::now();
        TScan scan(
            pumps, [&] { computers.MarkAllOffline(); }, button, progressBar, [&] { socket.SendRequest(); });
        lastMerge = {};
        scan.Run();
        socket.Close();
        state.counters["scan_online"] = OnlineCount(computers);
        state.counters["scan_all_by_step"] = pumps.DoneAfter;
        state.counters["scan_last_merge_ms"]
            = lastMerge == TClock::time_point {} ? 0 : Milliseconds(lastMerge - scanned);
        state.counters["longest_pump_ms"] = Milliseconds(pumps.Longest);
    }
}

} // namespace

BENCHMARK(DiscoveryFlood)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
    return RunOnOffscreenPlatform(argc, argv, "ostrel-bench-discovery-flood", Platform);
}
