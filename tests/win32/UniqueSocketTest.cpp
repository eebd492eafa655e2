#include "platform/windows/UniqueSocket.h"

#include "platform/windows/WinsockSession.h"

#include <gtest/gtest.h>
#include <utility>

namespace {

// A socket that is never bound or sent from: only its being open matters here.
SOCKET NewUdpSocket()
{
    return socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
}

bool IsOpen(SOCKET socket)
{
    int type = 0;
    int length = sizeof type;
    return getsockopt(socket, SOL_SOCKET, SO_TYPE, reinterpret_cast<char*>(&type), &length) == 0;
}

class UniqueSocketTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_EQ(Session.Error(), 0); }

    const TWinsockSession Session;
};

TEST_F(UniqueSocketTest, MovedSocketStaysOpenUntilItsLastOwnerGoes)
{
    TUniqueSocket first(NewUdpSocket());
    ASSERT_TRUE(first);
    const SOCKET made = first.Get();
    {
        TUniqueSocket second(std::move(first));
        EXPECT_FALSE(first);
        EXPECT_EQ(second.Get(), made);
        {
            TUniqueSocket third;
            third = std::move(second);
            EXPECT_FALSE(second);
            EXPECT_TRUE(IsOpen(made));
        }
        EXPECT_FALSE(IsOpen(made));
        EXPECT_EQ(WSAGetLastError(), WSAENOTSOCK);
    }
    first.Reset();
    EXPECT_FALSE(first);
}

TEST_F(UniqueSocketTest, MoveAssignmentClosesTheSocketHeldBefore)
{
    TUniqueSocket kept(NewUdpSocket());
    TUniqueSocket replaced(NewUdpSocket());
    ASSERT_TRUE(kept && replaced);
    const SOCKET keptSocket = kept.Get();
    const SOCKET replacedSocket = replaced.Get();
    replaced = std::move(kept);
    EXPECT_FALSE(IsOpen(replacedSocket));
    EXPECT_TRUE(IsOpen(keptSocket));
    EXPECT_EQ(replaced.Get(), keptSocket);
    TUniqueSocket& same = replaced;
    replaced = std::move(same);
    EXPECT_TRUE(IsOpen(keptSocket));
}

} // namespace
