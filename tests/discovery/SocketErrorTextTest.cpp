#include "discovery/SocketErrorText.h"

#include "platform/OstrelError.h"
#include "platform/qt/SocketErrno.h"

#include <cerrno>
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

TEST(SocketErrno, MapsToWindowsSocketsNumbers)
{
    const std::pair<int, int> rows[] = {
        { EINTR, 10004 },        { EBADF, 10009 },      { EACCES, 10013 },        { EPERM, 10013 },
        { EINVAL, 10022 },       { EAGAIN, 10035 },     { ENOTSOCK, 10038 },      { EMSGSIZE, 10040 },
        { EAFNOSUPPORT, 10047 }, { EADDRINUSE, 10048 }, { EADDRNOTAVAIL, 10049 }, { ENETUNREACH, 10051 },
        { ENOBUFS, 10055 },      { ENOMEM, 10055 },     { ECONNREFUSED, 10061 },  { EHOSTUNREACH, 10065 },
        { ENOTEMPTY, 10066 },
    };
    for (const auto& [error, number] : rows)
        EXPECT_EQ(WinSockErrorFromErrno(error), number) << "errno " << error;
}

TEST(SocketErrno, UnmappedErrnoStaysOutsideTheTable)
{
    // Linux's ELOOP is 40; a naive 10000 + errno would read as "Message too long.".
    EXPECT_EQ(WinSockErrorFromErrno(ELOOP), 10062);
    EXPECT_EQ(WinSockErrorFromErrno(EIO), 20000 + EIO);
}

} // namespace
