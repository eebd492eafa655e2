// The discovery socket on the real sockets of this build's backend. The program runs where no
// packet can leave: namespaces of its own on Linux (in-private-net.sh), Wine's under the harness.
#include "ContractBackend.h"
#include "discovery/DiscoverySockets.h"
#include "platform/common/SyncGate.h"
#include "platform/OstrelError.h"
#include "TestSupport.h"

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace {

using namespace std::chrono_literals;

constexpr const char* BindText = "Could not bind socket. Address and port are already in use.";

std::vector<std::uint8_t> Bytes(std::string_view text)
{
    return { text.begin(), text.end() };
}

class RealSockets : public testing::Test
{
protected:
    // A socket of this test's own, standing in for an agent.
    std::unique_ptr<TUdpSocket> Agent(TAddressFamily family = TAddressFamily::IPv4, std::uint16_t port = 0)
    {
        auto socket = Api.CreateUdpSocket(family);
        EXPECT_EQ(socket->Open(), 0);
        if (port != 0) {
            EXPECT_EQ(socket->SetReuseAddress(true), 0);
            EXPECT_EQ(socket->Bind(port), 0);
        }
        return socket;
    }

    TSocketApi& Api = ContractBackend().Sockets();
    TSyncGate Gate;
    std::vector<TReceivedDatagram> Read;
    TDiscoverySockets Socket { Api, Gate, [this](const TReceivedDatagram& datagram) { Read.push_back(datagram); } };
};

TEST_F(RealSockets, SecondCopyReportsTheBindTextOnOpenAndOnSendUntilThePortIsFree)
{
    Socket.Open();
    TDiscoverySockets second(Api, Gate, [](const TReceivedDatagram&) {});
    EXPECT_EQ(ErrorOf([&] { second.Open(); }), BindText);
    EXPECT_EQ(ErrorOf([&] { second.SendRequest(); }), BindText);
    EXPECT_FALSE(second.IsOpen());
    Socket.Close();
    EXPECT_EQ(ErrorOf([&] { second.SendRequest(); }), "");
    EXPECT_TRUE(second.IsOpen());
    second.Close();
}

TEST_F(RealSockets, RequestIsBroadcastFromTheListeningPort)
{
    auto agent = Agent(TAddressFamily::IPv4, 8082);
    Socket.SendRequest();
    ASSERT_TRUE(agent->Wait(2000).Readable);
    std::vector<std::uint8_t> buffer(100);
    const auto received = agent->Receive(buffer);
    ASSERT_EQ(received.Error, 0);
    EXPECT_EQ(std::string(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(received.Size)), "Hello, KVD");
    EXPECT_FALSE(agent->Wait(200).Readable) << "one request, no repeats";
}

TEST_F(RealSockets, DatagramOfBufferSizeIsHandledAndOneByteMoreDropped)
{
    Socket.Open();
    auto agent = Agent();
    const std::string padding(8192 - 20, ' ');
    const auto fits = Bytes(padding + "I am here, Port:8080");
    auto tooLong = fits;
    tooLong.push_back(' ');
    ASSERT_EQ(agent->SendTo(tooLong, "127.0.0.1", 8081).Error, 0);
    ASSERT_EQ(agent->SendTo(fits, "127.0.0.1", 8081).Error, 0);
    ASSERT_EQ(agent->SendTo({}, "127.0.0.1", 8081).Error, 0);
    ASSERT_TRUE(PumpUntil(Gate, [&] { return Read.size() == 2; }));
    // A datagram waiting for its sender's name may come after one that needs none.
    const auto& reply = Read[0].Payload.empty() ? Read[1] : Read[0];
    const auto& empty = Read[0].Payload.empty() ? Read[0] : Read[1];
    EXPECT_EQ(reply.Payload, fits);
    EXPECT_EQ(reply.SenderAddress, "127.0.0.1");
    EXPECT_TRUE(reply.SenderName.has_value()) << "loopback has a name in the hosts file";
    EXPECT_TRUE(empty.Payload.empty());
    EXPECT_FALSE(PumpUntil(
        Gate, [&] { return Read.size() > 2; }, 300ms));
}

TEST_F(RealSockets, IPv6EndpointTakesOnlyIPv6AndItsSendersGetNoName)
{
    ASSERT_TRUE(Api.IPv6Offered());
    Socket.Open();
    auto agent6 = Agent(TAddressFamily::IPv6);
    ASSERT_EQ(agent6->SendTo(Bytes("I am here, Port:1"), "::1", 8081).Error, 0);
    ASSERT_TRUE(PumpUntil(Gate, [&] { return Read.size() == 1; }));
    EXPECT_EQ(Read[0].SenderAddress, "::1");
    EXPECT_FALSE(Read[0].SenderName);
}

TEST_F(RealSockets, ShutdownEndsPromptlyWithAHandOffPendingAndAgentsFlooding)
{
    Socket.Open();
    auto agent = Agent();
    std::atomic<bool> flooding = true;
    std::thread flood([&] {
        const auto reply = Bytes("I am here, Port:8080");
        while (flooding)
            agent->SendTo(reply, "127.0.0.1", 8081);
    });
    ASSERT_TRUE(PumpUntil(Gate, [&] { return Gate.HasPending(); }));
    const auto started = std::chrono::steady_clock::now();
    Socket.Close();
    EXPECT_LT(std::chrono::steady_clock::now() - started, 2s);
    flooding = false;
    flood.join();
    EXPECT_FALSE(Socket.IsOpen());
}

} // namespace
