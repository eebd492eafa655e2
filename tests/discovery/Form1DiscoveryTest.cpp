#include "app/Unit1.h"
#include "FakeFileSystem.h"
#include "FakePlatform.h"
#include "FakeSockets.h"
#include "list/ComputerList.h"
#include "platform/Form.h"
#include "platform/OstrelError.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

namespace {

constexpr const char* ListPath = "/data/Mervane/list.dat";

// Discovery as the main window uses it, on the fake backend with fake sockets.
class Form1Discovery : public testing::Test
{
protected:
    Form1Discovery()
    {
        Platform.FileSystemImpl = &Files;
        Platform.SocketsImpl = &Sockets;
        Sockets.Resolver->SetName("192.168.1.20", "PC1");
        Sockets.Resolver->SetName("192.168.1.21", "PC2");
    }

    void LoadListWith(const std::string& name)
    {
        Files.Folders.insert("/data/Mervane");
        Files.Files[ListPath] = "[General]\r\nComputers=1\r\n\r\n[0]\r\nName=" + name + "\r\n";
    }

    // Delivers a reply and waits until its hand-off is queued for the next pump.
    void Reply(const std::string& from, const std::string& text = "I am here, Port:8080")
    {
        Sockets.Socket(0).Deliver(text, from);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!Platform.App.SyncGate().HasPending() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::yield();
    }

    int Sends() const
    {
        const auto calls = Sockets.Calls();
        return static_cast<int>(std::count(calls.begin(), calls.end(), "v4 send 255.255.255.255:8082 Hello, KVD"));
    }

    bool Online(int index) const
    {
        const TInfo* status = Form1->Computers().Status(index);
        return status && status->Online;
    }

    TFakeFileSystem Files;
    TFakeSocketApi Sockets;
    TFakePlatform Platform;
};

TEST_F(Form1Discovery, FirstShowSendsOneRequest)
{
    TForm1 form1(Platform);
    form1.Form().Show();
    form1.Form().Show();
    EXPECT_EQ(Sends(), 1);
    form1.CloseDiscovery();
}

TEST_F(Form1Discovery, OpenAndSendShowEveryKindOfErrorInTheBoxAndTheScanStillEnds)
{
    const std::system_error noThread(std::make_error_code(std::errc::resource_unavailable_try_again));
    struct TRow
    {
        const char* Name;
        std::function<void()> Fail;
        std::string Shown;
    };
    const TRow rows[] = {
        { "socket error", [] { throw EOstrelError("Socket Error # 10055\r\nNo buffer space available."); },
          "Socket Error # 10055\r\nNo buffer space available." },
        { "thread not started", [&] { throw noThread; }, noThread.what() },
        { "out of memory", [] { throw std::bad_alloc(); }, std::bad_alloc().what() },
        { "no standard exception", [] { throw 42; }, "Unknown error." },
    };
    for (const auto& row : rows) {
        Platform.App.ErrorBoxes.clear();
        Sockets.Made.clear(); // the sockets of the window before have gone
        // Starting the receive threads fails, after the endpoints were bound.
        Sockets.OnNameResolver = row.Fail;
        TForm1 form1(Platform);
        form1.Form().Button("Button2").OnClick();
        const std::vector<std::string> expected { row.Shown, row.Shown }; // the creation handler's, the scan's
        EXPECT_EQ(Platform.App.ErrorBoxes, expected) << row.Name;
        EXPECT_TRUE(form1.Form().Button("Button2").Enabled()) << row.Name;
        EXPECT_FALSE(form1.Form().ProgressBar("ProgressBar1").Visible()) << row.Name;
        EXPECT_TRUE(Platform.App.ExceptionReports.empty()) << row.Name;

        // Once the failure has gone, the next send opens the socket from a clean start.
        Sockets.OnNameResolver = nullptr;
        form1.SendDiscoveryRequest();
        EXPECT_EQ(Platform.App.ErrorBoxes.size(), 2u) << row.Name;
        Reply("192.168.1.20");
        Platform.App.ProcessMessages();
        EXPECT_EQ(form1.Computers().Count(), 1) << row.Name;
        form1.CloseDiscovery();
    }
}

TEST_F(Form1Discovery, ReplyForAnEntryFromTheFileInOtherCaseMarksItOnlineAndAddsNothing)
{
    LoadListWith("http://pc1:8080");
    TForm1 form1(Platform);
    Reply("192.168.1.20");
    Platform.App.ProcessMessages();
    ASSERT_EQ(form1.Computers().Count(), 1);
    EXPECT_EQ(form1.Computers().Text(0), "http://pc1:8080");
    EXPECT_TRUE(Online(0));
    form1.CloseDiscovery();
}

TEST_F(Form1Discovery, AddressTypedByHandIsNeverMarkedOnlineInTheSameRun)
{
    TForm1 form1(Platform);
    form1.Computers().Append("http://PC1:8080", std::nullopt);
    Reply("192.168.1.20");
    Platform.App.ProcessMessages();
    ASSERT_EQ(form1.Computers().Count(), 1);
    EXPECT_EQ(form1.Computers().Status(0), nullptr);
    form1.CloseDiscovery();
}

TEST_F(Form1Discovery, UnusableRepliesChangeNothingAndShowNothing)
{
    TForm1 form1(Platform);
    for (const auto& [from, text] :
         { std::pair { "10.9.9.9", "I am here, Port:8080" }, // no reverse name
           std::pair { "192.168.1.20", "i am here, port:8080" }, std::pair { "192.168.1.20", "Hello, KVD" } }) {
        Reply(from, text);
        Platform.App.ProcessMessages();
    }
    EXPECT_EQ(form1.Computers().Count(), 0);
    EXPECT_TRUE(Platform.App.ErrorBoxes.empty());
    Reply("192.168.1.21");
    Platform.App.ProcessMessages();
    ASSERT_EQ(form1.Computers().Count(), 1);
    EXPECT_EQ(form1.Computers().Text(0), "http://PC2:8080");
    form1.CloseDiscovery();
}

TEST_F(Form1Discovery, ScanMarksAllOfflineAndRepliesDuringItMarkOnlineAgain)
{
    LoadListWith("http://PC1:8080");
    TForm1 form1(Platform);
    for (const auto* from : { "192.168.1.20", "192.168.1.21" }) {
        Reply(from);
        Platform.App.ProcessMessages();
    }
    ASSERT_EQ(form1.Computers().Count(), 2);
    ASSERT_TRUE(Online(0) && Online(1));

    std::vector<bool> pc1OnlineAtPump;
    Platform.App.OnProcessMessages = [&] {
        pc1OnlineAtPump.push_back(Online(0));
        if (Platform.App.Pumps == 5)
            Reply("192.168.1.20");
    };
    Platform.App.Pumps = 0;
    form1.Form().Button("Button2").OnClick();

    ASSERT_EQ(pc1OnlineAtPump.size(), 50u);
    EXPECT_FALSE(pc1OnlineAtPump[0]) << "marked offline before the first pump";
    EXPECT_TRUE(pc1OnlineAtPump[5]) << "merged in the pump after the reply";
    EXPECT_TRUE(Online(0));
    EXPECT_FALSE(Online(1)) << "an agent that did not answer ends offline";
    EXPECT_EQ(Sends(), 1);
    EXPECT_TRUE(form1.Form().Button("Button2").Enabled());
    EXPECT_FALSE(form1.Form().ProgressBar("ProgressBar1").Visible());
    form1.CloseDiscovery();
}

TEST_F(Form1Discovery, ReplyReadBeforeAScanMarksNothingOnlineDuringOrAfterIt)
{
    // Both replies are read before the scan; their names come once it has begun.
    LoadListWith("http://PC1:8080");
    Sockets.Resolver->SetName("192.168.1.22", "PC3");
    TForm1 form1(Platform);
    for (const auto* from : { "192.168.1.20", "192.168.1.22" }) {
        Sockets.Resolver->Hang(from);
        Sockets.Socket(0).Deliver("I am here, Port:8080", from);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (Sockets.Resolver->Running() < 2 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
    ASSERT_EQ(Sockets.Resolver->Running(), 2);

    Platform.App.OnProcessMessages = [&] {
        if (Platform.App.Pumps != 1)
            return;
        Sockets.Resolver->Release();
        while (Sockets.Resolver->Ended() < 2 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::yield();
    };
    Platform.App.Pumps = 0;
    form1.Form().Button("Button2").OnClick();
    Platform.App.OnProcessMessages = {};
    Reply("192.168.1.21");
    // The two new entries come from separate lookups, handed over in either order.
    while (form1.Computers().Count() < 3 && std::chrono::steady_clock::now() < deadline) {
        Platform.App.ProcessMessages();
        std::this_thread::yield();
    }

    ASSERT_EQ(form1.Computers().Count(), 3);
    EXPECT_FALSE(Online(0)) << "the loaded entry did not answer the scan";
    EXPECT_GT(form1.Computers().FindExact("http://PC3:8080"), 0) << "a new entry is still added";
    const int answered = form1.Computers().FindExact("http://PC2:8080");
    ASSERT_GT(answered, 0);
    EXPECT_TRUE(Online(answered)) << "a reply read after the scan began answered it";
    form1.CloseDiscovery();
}

TEST_F(Form1Discovery, ScanWithThePortTakenShowsTheBindErrorAndRunsItsSteps)
{
    Sockets.OfferIPv6 = false;
    TForm1 form1(Platform);
    form1.CloseDiscovery();
    Sockets.Socket(0).Failures["bind"] = 10048;
    int pumpsAtBox = -1;
    Platform.App.OnErrorBox = [&](const std::string&) { pumpsAtBox = Platform.App.Pumps; };
    const int pumpsBefore = Platform.App.Pumps;
    form1.Form().Button("Button2").OnClick();
    ASSERT_EQ(Platform.App.ErrorBoxes.size(), 1u);
    EXPECT_EQ(Platform.App.ErrorBoxes[0], "Could not bind socket. Address and port are already in use.");
    EXPECT_EQ(pumpsAtBox, pumpsBefore) << "the box comes before the steps";
    EXPECT_EQ(Platform.App.Pumps - pumpsBefore, 50);
}

TEST_F(Form1Discovery, CloseDuringScanSavesAtOnceAndEndsAfterTheScanWithoutSavingAgain)
{
    TForm1 form1(Platform);
    form1.Form().Show();
    std::vector<std::string> savedAt;
    Platform.App.OnProcessMessages = [&] {
        if (Platform.App.Pumps == 10) {
            form1.Form().Close();
            savedAt.push_back(Files.Files[ListPath]);
            EXPECT_TRUE(form1.Form().Visible()) << "the window stays up until the scan ends";
            form1.Computers().Append("Typed-PC:8080", std::nullopt);
        }
        if (Platform.App.Pumps == 20) {
            form1.Form().Close(); // a further request saves again
            savedAt.push_back(Files.Files[ListPath]);
            form1.Computers().Append("Late-PC:8080", std::nullopt);
        }
    };
    Platform.App.Pumps = 0;
    form1.Form().Button("Button2").OnClick();

    EXPECT_EQ(Platform.App.Pumps, 50) << "every step ran";
    EXPECT_TRUE(Platform.App.Terminated());
    ASSERT_EQ(savedAt.size(), 2u);
    EXPECT_EQ(savedAt[0].find("Typed-PC"), std::string::npos);
    EXPECT_NE(savedAt[1].find("Typed-PC"), std::string::npos);
    EXPECT_EQ(Files.Files[ListPath], savedAt[1]) << "nothing saved after the scan";

    // Outside a scan a close goes through at once.
    bool canClose = false;
    form1.FormCloseQuery(canClose);
    EXPECT_TRUE(canClose);
    form1.CloseDiscovery();
}

TEST_F(Form1Discovery, SessionSaveDuringScanSavesAndKeepsTheScanAndTheProgramGoing)
{
    TForm1 form1(Platform);
    form1.Form().Show();
    std::string saved;
    Platform.App.OnProcessMessages = [&] {
        if (Platform.App.Pumps == 10) {
            form1.Computers().Append("Typed-PC:8080", std::nullopt);
            form1.Form().SaveForSession();
            saved = Files.Files[ListPath];
        }
    };
    Platform.App.Pumps = 0;
    form1.Form().Button("Button2").OnClick();

    EXPECT_NE(saved.find("Typed-PC"), std::string::npos);
    EXPECT_EQ(Platform.App.Pumps, 50) << "every step ran";
    EXPECT_FALSE(Platform.App.Terminated()) << "the session may go on";
    EXPECT_TRUE(form1.Form().Visible());
    form1.CloseDiscovery();
}

} // namespace
