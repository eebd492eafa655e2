// The UDP sockets' contract, on whichever backend this program was built for. The sockets
// are real; the program runs where no packet can leave (its own network namespace on Linux,
// Wine's under the Wine harness), and sends to loopback alone but for one broadcast.
#include "ContractBackend.h"

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

constexpr int WouldBlock = 10035;
constexpr int InvalidArgument = 10022;
constexpr int AccessDenied = 10013;

std::vector<std::uint8_t> Bytes(std::string_view text)
{
    return { text.begin(), text.end() };
}

class SocketContract : public testing::Test
{
protected:
    // An open socket with address reuse off, bound to port unless it is 0.
    std::unique_ptr<TUdpSocket> Opened(TAddressFamily family, std::uint16_t port = 0)
    {
        auto socket = Api.CreateUdpSocket(family);
        EXPECT_EQ(socket->Open(), 0);
        EXPECT_EQ(socket->SetReuseAddress(false), 0);
        if (family == TAddressFamily::IPv6) {
            EXPECT_EQ(socket->SetIPv6Only(true), 0);
        }
        if (port != 0) {
            EXPECT_EQ(socket->Bind(port), 0);
        }
        return socket;
    }

    // The next datagram on socket, waiting for it up to 2 s.
    static std::string Next(TUdpSocket& socket, std::string* sender = nullptr)
    {
        if (!socket.Wait(2000).Readable)
            return "(nothing came)";
        std::vector<std::uint8_t> buffer(8192);
        const auto received = socket.Receive(buffer);
        if (received.Error != 0)
            return "error " + std::to_string(received.Error);
        if (sender)
            *sender = received.Sender;
        if (received.Truncated)
            return "(truncated)";
        return { buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(received.Size) };
    }

    TSocketApi& Api = ContractBackend().Sockets();
};

TEST_F(SocketContract, SecondBindOnAPortInUseGivesAddressInUse)
{
    const auto first = Opened(TAddressFamily::IPv4, 18081);
    const auto second = Opened(TAddressFamily::IPv4);
    EXPECT_EQ(second->Bind(18081), SocketErrors::AddressInUse);

    ASSERT_TRUE(Api.IPv6Offered()) << "the test's network has IPv6 loopback";
    const auto ipv6 = Opened(TAddressFamily::IPv6);
    EXPECT_EQ(ipv6->Bind(18081), 0) << "an IPv6-only socket does not meet the IPv4 one";
    const auto secondIpv6 = Opened(TAddressFamily::IPv6);
    EXPECT_EQ(secondIpv6->Bind(18081), SocketErrors::AddressInUse);
}

TEST_F(SocketContract, PortHeldWithReuseOffIsNotSharedWithASocketAskingForReuse)
{
    const auto holder = Opened(TAddressFamily::IPv4, 18089);
    const auto other = Api.CreateUdpSocket(TAddressFamily::IPv4);
    ASSERT_EQ(other->Open(), 0);
    ASSERT_EQ(other->SetReuseAddress(true), 0);
    EXPECT_NE(other->Bind(18089), 0);
}

TEST_F(SocketContract, EveryCallOnAClosedSocketGivesNotSocketAndItOpensAgain)
{
    const auto socket = Api.CreateUdpSocket(TAddressFamily::IPv4);
    const auto checkClosed = [&] {
        EXPECT_FALSE(socket->IsOpen());
        EXPECT_EQ(socket->SetReuseAddress(false), SocketErrors::NotSocket);
        EXPECT_EQ(socket->SetBroadcast(true), SocketErrors::NotSocket);
        EXPECT_EQ(socket->SetReceiveBufferSize(65536), SocketErrors::NotSocket);
        EXPECT_EQ(socket->Bind(18082), SocketErrors::NotSocket);
        EXPECT_EQ(socket->Wait(0).Error, SocketErrors::NotSocket);
        std::vector<std::uint8_t> buffer(16);
        EXPECT_EQ(socket->Receive(buffer).Error, SocketErrors::NotSocket);
        EXPECT_EQ(socket->SendTo(Bytes("x"), "127.0.0.1", 18082).Error, SocketErrors::NotSocket);
    };
    checkClosed();
    ASSERT_EQ(socket->Open(), 0);
    EXPECT_TRUE(socket->IsOpen());
    socket->Close();
    socket->Close();
    checkClosed();

    ASSERT_EQ(socket->Open(), 0);
    EXPECT_EQ(socket->SetReceiveBufferSize(65536), 0);
    EXPECT_EQ(socket->Bind(18082), 0);
    const auto sender = Opened(TAddressFamily::IPv4);
    ASSERT_EQ(sender->SendTo(Bytes("again"), "127.0.0.1", 18082).Error, 0);
    EXPECT_EQ(Next(*socket), "again");
}

TEST_F(SocketContract, CloseFromAnotherThreadEndsAWaitAtOnce)
{
    const auto socket = Opened(TAddressFamily::IPv4, 18083);
    std::atomic<int> error = 0;
    const auto started = std::chrono::steady_clock::now();
    std::thread waiter([&] { error = socket->Wait(10000).Error; });
    std::this_thread::sleep_for(50ms);
    socket->Close();
    waiter.join();
    EXPECT_EQ(error, SocketErrors::NotSocket);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 2s);
}

TEST_F(SocketContract, EachDatagramIsReadOnceWithItsSender)
{
    const auto socket = Opened(TAddressFamily::IPv4, 18084);
    EXPECT_EQ(socket->Wait(100).Readable, false) << "nothing came: the time-out passes";
    std::vector<std::uint8_t> buffer(16);
    EXPECT_EQ(socket->Receive(buffer).Error, WouldBlock) << "reading never waits";

    const auto sender = Opened(TAddressFamily::IPv4);
    for (const auto* text : { "one", "", "three" })
        ASSERT_EQ(sender->SendTo(Bytes(text), "127.0.0.1", 18084).Sent, std::string_view(text).size());
    std::string from;
    EXPECT_EQ(Next(*socket, &from), "one");
    EXPECT_EQ(from, "127.0.0.1");
    EXPECT_EQ(Next(*socket), "") << "an empty datagram is one too";
    EXPECT_EQ(Next(*socket), "three");
    EXPECT_FALSE(socket->Wait(100).Readable);
}

TEST_F(SocketContract, DatagramLongerThanTheBufferIsDroppedWhole)
{
    const auto socket = Opened(TAddressFamily::IPv4, 18085);
    const auto sender = Opened(TAddressFamily::IPv4);
    const std::string fits(8192, 'f');
    ASSERT_EQ(sender->SendTo(Bytes(fits + "!"), "127.0.0.1", 18085).Error, 0);
    ASSERT_EQ(sender->SendTo(Bytes(fits), "127.0.0.1", 18085).Error, 0);

    ASSERT_TRUE(socket->Wait(2000).Readable);
    std::vector<std::uint8_t> buffer(8192);
    const auto tooLong = socket->Receive(buffer);
    EXPECT_EQ(tooLong.Error, 0);
    EXPECT_TRUE(tooLong.Truncated);
    EXPECT_EQ(Next(*socket), fits) << "the next datagram is whole";
}

TEST_F(SocketContract, SendErrorsCarryTheWindowsSocketsNumbers)
{
    const auto socket = Opened(TAddressFamily::IPv4);
    EXPECT_EQ(socket->SendTo(std::vector<std::uint8_t>(65508), "127.0.0.1", 18086).Error, SocketErrors::MessageSize);
    EXPECT_EQ(socket->SendTo(Bytes("x"), "not an address", 18086).Error, InvalidArgument);
    EXPECT_EQ(socket->SendTo(Bytes("x"), "::1", 18086).Error, InvalidArgument) << "an IPv6 address on IPv4";
}

TEST_F(SocketContract, BroadcastNeedsThePermissionSwitchedOn)
{
    const auto socket = Opened(TAddressFamily::IPv4);
    const auto request = Bytes("Hello, KVD");
    EXPECT_EQ(socket->SendTo(request, "255.255.255.255", 18087).Error, AccessDenied);
    ASSERT_EQ(socket->SetBroadcast(true), 0);
    EXPECT_EQ(socket->SendTo(request, "255.255.255.255", 18087).Sent, request.size());
    ASSERT_EQ(socket->SetBroadcast(false), 0);
    EXPECT_EQ(socket->SendTo(request, "255.255.255.255", 18087).Error, AccessDenied);
}

TEST_F(SocketContract, IPv6OnlyEndpointTakesNoIPv4)
{
    ASSERT_TRUE(Api.IPv6Offered()) << "the test's network has IPv6 loopback";
    const auto socket = Opened(TAddressFamily::IPv6, 18088);
    const auto sender4 = Opened(TAddressFamily::IPv4);
    const auto sender6 = Opened(TAddressFamily::IPv6);
    ASSERT_EQ(sender4->SendTo(Bytes("over IPv4"), "127.0.0.1", 18088).Error, 0);
    ASSERT_EQ(sender6->SendTo(Bytes("over IPv6"), "::1", 18088).Error, 0);
    std::string from;
    EXPECT_EQ(Next(*socket, &from), "over IPv6");
    EXPECT_EQ(from, "::1");
    EXPECT_FALSE(socket->Wait(200).Readable);
}

TEST_F(SocketContract, ReverseNameNeedsANameAndANumericIPv4Address)
{
    const auto resolver = Api.NameResolver();
    EXPECT_TRUE(resolver->ReverseName("127.0.0.1").has_value()) << "loopback has a name in the hosts file";
    EXPECT_FALSE(resolver->ReverseName("192.0.2.77").has_value()) << "no name known: a numeric answer does not count";
    EXPECT_FALSE(resolver->ReverseName("::1").has_value());
    EXPECT_FALSE(resolver->ReverseName("not an address").has_value());
    EXPECT_FALSE(resolver->ReverseName("").has_value());
}

} // namespace
