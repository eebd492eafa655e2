// The POSIX sockets report errno values as the Windows Sockets numbers of the error table.
#include "platform/posix/SocketErrno.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <utility>

namespace {

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
