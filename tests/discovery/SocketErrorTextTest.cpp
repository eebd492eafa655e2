#include "discovery/SocketErrorText.h"

#include "platform/OstrelError.h"

#include <gtest/gtest.h>

namespace {

TEST(SocketErrorText, NumberThenCrLfThenDescription)
{
    EXPECT_EQ(SocketErrorText(10048), "Socket Error # 10048\r\nAddress already in use.");
    EXPECT_EQ(SocketErrorText(10038), "Socket Error # 10038\r\nSocket operation on non-socket.");
    EXPECT_EQ(SocketErrorText(10004), "Socket Error # 10004\r\nInterrupted system call.");
    // The last row of the table has no full stop.
    EXPECT_EQ(SocketErrorText(10066), "Socket Error # 10066\r\nDirectory not empty");
}

TEST(SocketErrorText, NumberOutsideTableGetsEmptyDescription)
{
    EXPECT_EQ(SocketErrorText(10067), "Socket Error # 10067\r\n");
    EXPECT_EQ(SocketErrorText(0), "Socket Error # 0\r\n");
    EXPECT_EQ(SocketErrorText(-5), "Socket Error # -5\r\n");
}

TEST(SocketErrorText, CheckThrowsOnlyForAFailure)
{
    EXPECT_NO_THROW(CheckSocketCall(0));
    try {
        CheckSocketCall(10055);
        FAIL() << "no error thrown";
    } catch (const EOstrelError& error) {
        EXPECT_STREQ(error.what(), "Socket Error # 10055\r\nNo buffer space available.");
    }
}

} // namespace
