#include "discovery/Scan.h"

#include "FakePlatform.h"

#include <gtest/gtest.h>
#include <new>
#include <string>
#include <vector>

namespace {

TControlDecl Decl(TControlKind kind, const char* name)
{
    TControlDecl decl;
    decl.Kind = kind;
    decl.Name = name;
    decl.Visible = kind != TControlKind::ProgressBar;
    decl.Max = 50;
    return decl;
}

// What a pump saw.
struct TPumpView
{
    int Position;
    bool BarVisible;
    bool ButtonEnabled;
    std::uint32_t Tick;
};

class Scan : public testing::Test
{
protected:
    Scan()
    {
        App.SetTickCount(1000);
        App.OnProcessMessages = [this] {
            Pumps.push_back({ Bar.Position(), Bar.Visible(), Button.Enabled(), App.GetTickCount() });
            if (OnPump)
                OnPump(static_cast<int>(Pumps.size()));
        };
    }

    TFakeApplication App;
    TFakeButton Button { Decl(TControlKind::Button, "Button2") };
    TFakeProgressBar Bar { Decl(TControlKind::ProgressBar, "ProgressBar1") };
    std::vector<std::string> Events;
    std::vector<TPumpView> Pumps;
    std::function<void(int pump)> OnPump;
    TScan Scanner { App, [this] { Events.push_back("offline"); }, Button, Bar,
                    [this] {
                        Events.push_back("send bar " + std::to_string(Bar.Position()) + (Bar.Visible() ? " shown" : "")
                                         + (Button.Enabled() ? " enabled" : " disabled"));
                    } };
};

TEST_F(Scan, MarksOfflineThenSendsWithButtonDisabledAndBarAtZero)
{
    Scanner.Run();
    const std::vector<std::string> expected { "offline", "send bar 0 shown disabled" };
    EXPECT_EQ(Events, expected);
}

TEST_F(Scan, PumpsFiftyStepsTwoHundredMillisecondsApart)
{
    Scanner.Run();
    ASSERT_EQ(Pumps.size(), 50u);
    for (int step = 1; step <= 50; ++step) {
        const auto& pump = Pumps[step - 1];
        EXPECT_EQ(pump.Position, step);
        EXPECT_TRUE(pump.BarVisible);
        EXPECT_FALSE(pump.ButtonEnabled);
        EXPECT_EQ(pump.Tick, 1000u + (step - 1) * 200u);
    }
    // The bar stays at 50 for the last pause, then hides as the button comes back.
    EXPECT_EQ(App.GetTickCount(), 11000u);
    EXPECT_EQ(Bar.Position(), 50);
    EXPECT_FALSE(Bar.Visible());
    EXPECT_TRUE(Button.Enabled());
    EXPECT_FALSE(Scanner.Running());
}

TEST_F(Scan, WorkDoneInsideAPumpDelaysTheRemainingSteps)
{
    // Opening a page or a modal dialog runs its own pump inside the scan's.
    OnPump = [this](int pump) {
        if (pump == 10)
            App.Advance(3000);
    };
    Scanner.Run();
    EXPECT_EQ(Pumps.size(), 50u);
    EXPECT_EQ(App.GetTickCount(), 14000u);
}

TEST_F(Scan, RunsEveryStepEvenWhenTheEndIsRequestedDuringIt)
{
    OnPump = [this](int pump) {
        if (pump == 5)
            App.Terminate();
    };
    Scanner.Run();
    EXPECT_EQ(Pumps.size(), 50u);
    EXPECT_TRUE(Button.Enabled());
}

TEST_F(Scan, AnErrorThatEscapesTheScanStillEndsIt)
{
    OnPump = [](int pump) {
        if (pump == 3)
            throw std::bad_alloc();
    };
    EXPECT_THROW(Scanner.Run(), std::bad_alloc);
    EXPECT_FALSE(Bar.Visible());
    EXPECT_TRUE(Button.Enabled());
    EXPECT_FALSE(Scanner.Running());
}

TEST_F(Scan, HandOffsAreTakenInsideTheStepsPumps)
{
    bool merged = false;
    std::thread agent([&] {
        App.SyncGate().Call([&] {
            merged = true;
            return false;
        });
    });
    OnPump = [&](int) { EXPECT_TRUE(Scanner.Running()); };
    while (!App.SyncGate().HasPending())
        std::this_thread::yield();
    Scanner.Run();
    agent.join();
    EXPECT_TRUE(merged);
}

} // namespace
