#include "discovery/DiscoverySockets.h"

#include "discovery/NameLookups.h"
#include "FakeSockets.h"
#include "platform/common/SyncGate.h"
#include "platform/OstrelError.h"
#include "TestSupport.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <system_error>
#include <thread>

namespace {

using namespace std::chrono_literals;

class DiscoverySockets : public testing::Test
{
protected:
    DiscoverySockets() { Api.Resolver->SetName("192.168.1.20", "PC1"); }

    TFakeSocketApi Api;
    TSyncGate Gate;
    std::vector<TReceivedDatagram> Read;
    std::thread::id ReadOn;
    TDiscoverySockets Socket { Api, Gate, [this](const TReceivedDatagram& datagram) {
                                  Read.push_back(datagram);
                                  ReadOn = std::this_thread::get_id();
                              } };
};

TEST_F(DiscoverySockets, OpenSwitchesReuseOffBeforeBindingBothEndpoints)
{
    Socket.Open();
    const std::vector<std::string> expected {
        "create v4", "create v6",    "v4 open",      "v4 reuse off",      "v4 buffer 4194304", "v4 bind 8081",
        "v6 open",   "v6 reuse off", "v6 v6only on", "v6 buffer 4194304", "v6 bind 8081",
    };
    EXPECT_EQ(Api.Calls(), expected);
    EXPECT_TRUE(Socket.IsOpen());
}

TEST_F(DiscoverySockets, OpeningAnOpenSocketKeepsItsEndpoints)
{
    Socket.Open();
    const auto calls = Api.Calls().size();
    Socket.Open();
    EXPECT_EQ(Api.Calls().size(), calls);
    EXPECT_TRUE(Api.Socket(0).IsOpen() && Api.Socket(1).IsOpen());
}

TEST_F(DiscoverySockets, WithoutIPv6OnlyTheIPv4EndpointIsMade)
{
    Api.OfferIPv6 = false;
    Socket.Open();
    EXPECT_EQ(Api.Made.size(), 1u);
    EXPECT_TRUE(Socket.IsOpen());
}

TEST_F(DiscoverySockets, FailedIPv6BindClosesBothWithTheBindText)
{
    Socket.Open();
    Socket.Close();
    Api.Socket(1).Failures["bind"] = 10048;
    EXPECT_EQ(ErrorOf([&] { Socket.Open(); }), "Could not bind socket. Address and port are already in use.");
    EXPECT_FALSE(Socket.IsOpen());
    EXPECT_FALSE(Api.Socket(0).IsOpen());
    EXPECT_FALSE(Api.Socket(1).IsOpen());
    const auto calls = Api.Calls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[calls.size() - 2], "v6 close");
    EXPECT_EQ(calls.back(), "v4 close");
}

TEST_F(DiscoverySockets, FailedOptionCarriesTheSocketErrorText)
{
    Api.OfferIPv6 = false;
    Socket.Open();
    Socket.Close();
    Api.Socket(0).Failures["reuse"] = 10042;
    EXPECT_EQ(ErrorOf([&] { Socket.Open(); }), "Socket Error # 10042\r\nBad protocol option.");
    EXPECT_FALSE(Api.Socket(0).IsOpen());
}

TEST_F(DiscoverySockets, SendOpensAClosedSocketWithTheSameEndpointsAndBroadcastsOnce)
{
    Api.OfferIPv6 = false;
    Socket.Open();
    Socket.Close();
    Api.Socket(0).Failures["bind"] = 10048;
    EXPECT_EQ(ErrorOf([&] { Socket.SendRequest(); }), "Could not bind socket. Address and port are already in use.");
    Socket.SendRequest();
    EXPECT_TRUE(Socket.IsOpen());
    EXPECT_EQ(Api.Made.size(), 1u);
    const auto calls = Api.Calls();
    const std::vector<std::string> tail(calls.end() - 3, calls.end());
    const std::vector<std::string> expected { "v4 broadcast on", "v4 send 255.255.255.255:8082 Hello, KVD",
                                              "v4 broadcast off" };
    EXPECT_EQ(tail, expected);
}

TEST_F(DiscoverySockets, SendFailuresHaveTheirTextsAndSwitchBroadcastOff)
{
    struct TRow
    {
        const char* Name;
        int Error;
        std::optional<std::size_t> Sent;
        const char* Expected;
    };
    const TRow rows[] = {
        { "short", 0, 5, "Not all bytes sent." },
        { "too long", 10040, std::nullopt, "Package Size Too Big." },
        { "unreachable", 10051, std::nullopt, "Socket Error # 10051\r\nNetwork is unreachable." },
    };
    Socket.Open();
    for (const auto& row : rows) {
        if (row.Error != 0)
            Api.Socket(0).Failures["send"] = row.Error;
        Api.Socket(0).ShortSend = row.Sent;
        EXPECT_EQ(ErrorOf([&] { Socket.SendRequest(); }), row.Expected) << row.Name;
        EXPECT_EQ(Api.Calls().back(), "v4 broadcast off") << row.Name;
    }
}

TEST_F(DiscoverySockets, RepliesReachTheUIThreadWithTheNameLookedUpBeforehand)
{
    Socket.Open();
    Api.Socket(0).Deliver("I am here, Port:8080", "192.168.1.20");
    ASSERT_TRUE(PumpUntil(Gate, [&] { return Read.size() == 1; }));
    EXPECT_EQ(ReadOn, std::this_thread::get_id());
    EXPECT_EQ(std::string(Read[0].Payload.begin(), Read[0].Payload.end()), "I am here, Port:8080");
    EXPECT_EQ(Read[0].SenderAddress, "192.168.1.20");
    EXPECT_EQ(Read[0].SenderName, "PC1");
}

TEST_F(DiscoverySockets, ASlowNameHoldsUpNoReplyOfTheSameOrALaterRead)
{
    Api.OfferIPv6 = false;
    Api.Resolver->SetName("10.0.0.9", "Slow");
    Api.Resolver->Hang("10.0.0.9");
    Socket.Open();
    Api.Socket(0).Deliver({ { "I am here, Port:1", "10.0.0.9" }, { "I am here, Port:2", "192.168.1.20" } });
    ASSERT_TRUE(PumpUntil(Gate, [&] { return Read.size() == 1; }));
    Api.Socket(0).Deliver("I am here, Port:3", "192.168.1.20");
    ASSERT_TRUE(PumpUntil(Gate, [&] { return Read.size() == 2; })) << "a later read waited for the slow name";
    EXPECT_EQ(Read[0].SenderName, "PC1");
    EXPECT_EQ(Read[1].SenderName, "PC1");
    Api.Resolver->Release();
    ASSERT_TRUE(PumpUntil(Gate, [&] { return Read.size() == 3; }));
    EXPECT_EQ(Read[2].SenderName, "Slow");
}

TEST_F(DiscoverySockets, LookupsRunSideBySideUpToTheirLimitAndTheRestWaitInTheSocket)
{
    Api.OfferIPv6 = false;
    constexpr int Senders = 100;
    for (int i = 1; i <= Senders; ++i)
        Api.Resolver->Hang("10.0.1." + std::to_string(i));
    Socket.Open();
    for (int i = 1; i <= Senders; ++i)
        Api.Socket(0).Deliver("I am here, Port:8080", "10.0.1." + std::to_string(i));
    ASSERT_TRUE(PumpUntil(Gate, [&] { return Api.Resolver->Running() == TNameLookups::MaxRunning; }));
    EXPECT_EQ(Api.Socket(0).Waiting(), Senders - TNameLookups::MaxRunning) << "read beyond the limit";
    Api.Resolver->Release();
    EXPECT_TRUE(PumpUntil(Gate, [&] { return Read.size() == Senders; }));
}

TEST_F(DiscoverySockets, ASenderThatNeverStopsLeavesEveryPumpWithinItsTime)
{
    using TClock = std::chrono::steady_clock;
    // Beyond the pump's own time: one datagram's handling and a busy machine's scheduling.
    constexpr auto Bound = TSyncGate::PumpTime + 100ms;
    // Handling each datagram takes a while, so that datagrams are always ready to hand on.
    TDiscoverySockets slow(Api, Gate, [&](const TReceivedDatagram& datagram) {
        std::this_thread::sleep_for(200us);
        Read.push_back(datagram);
    });
    Api.OfferIPv6 = false;
    slow.Open();
    // The sender keeps a few hundred datagrams waiting and gives up after a while, so that a
    // pump waiting for the stream to end comes back soon after and shows how long it took.
    const auto givesUp = TClock::now() + 2s;
    std::atomic<bool> stop = false;
    std::jthread chatty([&] {
        while (!stop && TClock::now() < givesUp) {
            if (Api.Socket(0).Waiting() < 200)
                Api.Socket(0).Deliver(
                    std::vector(50, std::pair<std::string, std::string> { "I am here, Port:8080", "192.168.1.20" }));
            std::this_thread::yield();
        }
    });
    constexpr int Pumps = 5;
    int busyPumps = 0;
    TClock::duration longest {};
    while (busyPumps < Pumps && TClock::now() < givesUp) {
        const auto readBefore = Read.size();
        const auto started = TClock::now();
        Gate.RunPending();
        longest = std::max(longest, TClock::now() - started);
        busyPumps += Read.size() > readBefore ? 1 : 0;
        std::this_thread::sleep_for(1ms);
    }
    stop = true;
    EXPECT_EQ(busyPumps, Pumps);
    EXPECT_LE(longest, Bound) << std::chrono::duration_cast<std::chrono::milliseconds>(longest).count() << " ms";
}

TEST_F(DiscoverySockets, CloseWhileALookupHangsEndsAtOnceAndTheLookupLaterTouchesNothingGone)
{
    auto resolver = Api.Resolver;
    resolver->Hang("10.0.0.9");
    {
        TFakeSocketApi api;
        api.Resolver = resolver;
        TDiscoverySockets socket(api, Gate, [&](const TReceivedDatagram& datagram) { Read.push_back(datagram); });
        socket.Open();
        api.Socket(0).Deliver("I am here, Port:1", "10.0.0.9");
        ASSERT_TRUE(PumpUntil(Gate, [&] { return resolver->Running() == 1; }));
        socket.Close();
    }
    // The socket, its threads and the api have gone; the lookup finishes on its own.
    resolver->Release();
    EXPECT_TRUE(PumpUntil(Gate, [&] { return resolver->Ended() == 1; }));
    Gate.RunPending();
    EXPECT_TRUE(Read.empty());
}

TEST_F(DiscoverySockets, OversizedDatagramIsDroppedAndAnEmptyOneHandedOn)
{
    Socket.Open();
    Api.Socket(0).Deliver(std::string(8193, 'x'), "192.168.1.20");
    Api.Socket(0).Deliver(std::string(8192, 'y'), "192.168.1.20");
    Api.Socket(0).Deliver("", "192.168.1.20");
    ASSERT_TRUE(PumpUntil(Gate, [&] { return Read.size() == 2; }));
    EXPECT_EQ(Read[0].Payload.size(), 8192u);
    EXPECT_TRUE(Read[1].Payload.empty());
    EXPECT_FALSE(Read[1].SenderName) << "no lookup for a datagram without the marker";
}

TEST_F(DiscoverySockets, HandlerFailureIsDroppedAndTheNextDatagramHandled)
{
    int calls = 0;
    TDiscoverySockets throwing(Api, Gate, [&](const TReceivedDatagram&) {
        if (++calls == 1)
            throw EOstrelError("bad reply");
    });
    Api.OfferIPv6 = false;
    throwing.Open();
    Api.Socket(0).Deliver("a", "10.0.0.1");
    Api.Socket(0).Deliver("b", "10.0.0.1");
    EXPECT_TRUE(PumpUntil(Gate, [&] { return calls == 2; }));
}

TEST_F(DiscoverySockets, FailedWaitClosesTheEndpointAndLaterSendsGiveNotSocket)
{
    Socket.Open();
    Api.Socket(0).FailWait(10050);
    ASSERT_TRUE(PumpUntil(Gate, [&] { return !Api.Socket(0).IsOpen(); }));
    EXPECT_TRUE(Api.Socket(1).IsOpen()) << "the other endpoint goes on";
    EXPECT_EQ(ErrorOf([&] { Socket.SendRequest(); }), "Socket Error # 10038\r\nSocket operation on non-socket.");
}

TEST_F(DiscoverySockets, OpenThatFailsAfterAThreadStartedLeavesAllClosedAndTheNextOpenStartsClean)
{
    int resolvers = 0;
    Api.OnNameResolver = [&] {
        if (++resolvers == 2)
            throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    };
    EXPECT_THROW(Socket.Open(), std::system_error);
    EXPECT_FALSE(Socket.IsOpen());
    EXPECT_FALSE(Api.Socket(0).IsOpen());
    EXPECT_FALSE(Api.Socket(1).IsOpen());

    Api.OnNameResolver = nullptr;
    Socket.Open();
    EXPECT_TRUE(Api.Socket(0).IsOpen() && Api.Socket(1).IsOpen());
    Api.Socket(0).Deliver("I am here, Port:8080", "192.168.1.20");
    Api.Socket(1).Deliver("I am here, Port:8080", "fe80::1");
    EXPECT_TRUE(PumpUntil(Gate, [&] { return Read.size() == 2; }));
    Socket.Close();
    EXPECT_EQ(Read.size(), 2u) << "a thread of the failed opening still handed datagrams on";
}

TEST_F(DiscoverySockets, CloseTakesUpOrReleasesAPendingHandOffInStartOrder)
{
    Socket.Open();
    Api.Socket(0).Deliver("I am here, Port:1", "192.168.1.20");
    Api.Socket(1).Deliver("I am here, Port:2", "fe80::1");
    ASSERT_TRUE(PumpUntil(Gate, [&] { return Gate.HasPending(); }));
    Socket.Close();
    EXPECT_FALSE(Socket.IsOpen());
    const auto calls = Api.Calls();
    const auto v4 = std::find(calls.begin(), calls.end(), "v4 close");
    const auto v6 = std::find(calls.begin(), calls.end(), "v6 close");
    ASSERT_NE(v4, calls.end());
    ASSERT_NE(v6, calls.end());
    EXPECT_LT(v4, v6);
}

TEST_F(DiscoverySockets, CloseWithTheGateClosedReleasesTheHandOffUnrun)
{
    Socket.Open();
    Api.Socket(0).Deliver("I am here, Port:1", "192.168.1.20");
    ASSERT_TRUE(PumpUntil(Gate, [&] { return Gate.HasPending(); }));
    Gate.Close();
    Socket.Close();
    EXPECT_TRUE(Read.empty());
}

} // namespace
