// The fallbacks for the systems that refuse the newer forms of two calls, played by stand-ins
// that refuse them the way those systems do and pass everything else to the real call.
#include "platform/windows/OlderWindows.h"

#include "ContractPaths.h"
#include "platform/windows/UniqueHandle.h"
#include "platform/windows/UniqueSocket.h"
#include "platform/windows/WideText.h"
#include "platform/windows/WinsockSession.h"
#include "WindowsTestFolder.h"

#include <fstream>
#include <gtest/gtest.h>

namespace {

int socketCalls = 0;

SOCKET WSAAPI OpenWithoutNoInheritFlag(int family, int type, int protocol, WSAPROTOCOL_INFOW* info, GROUP group,
                                       DWORD flags)
{
    ++socketCalls;
    if (flags & WSA_FLAG_NO_HANDLE_INHERIT) {
        WSASetLastError(WSAEINVAL);
        return INVALID_SOCKET;
    }
    return WSASocketW(family, type, protocol, info, group, flags);
}

SOCKET WSAAPI OpenRefusingAll(int, int, int, WSAPROTOCOL_INFOW*, GROUP, DWORD)
{
    ++socketCalls;
    WSASetLastError(WSAEAFNOSUPPORT);
    return INVALID_SOCKET;
}

int findCalls = 0;

HANDLE WINAPI FindWithoutBasicInfo(const wchar_t* pattern, FINDEX_INFO_LEVELS level, void* found,
                                   FINDEX_SEARCH_OPS search, void* filter, DWORD flags)
{
    ++findCalls;
    if (level == FindExInfoBasic) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    return FindFirstFileExW(pattern, level, found, search, filter, flags);
}

HANDLE WINAPI FindCounted(const wchar_t* pattern, FINDEX_INFO_LEVELS level, void* found, FINDEX_SEARCH_OPS search,
                          void* filter, DWORD flags)
{
    ++findCalls;
    return FindFirstFileExW(pattern, level, found, search, filter, flags);
}

bool Inherited(SOCKET socket)
{
    DWORD flags = 0;
    return GetHandleInformation(reinterpret_cast<HANDLE>(socket), &flags) && (flags & HANDLE_FLAG_INHERIT);
}

class OlderWindowsTest : public testing::Test
{
protected:
    void SetUp() override
    {
        socketCalls = 0;
        findCalls = 0;
    }

    TWinsockSession Session;
};

TEST_F(OlderWindowsTest, SocketWithoutTheNoInheritFlagIsMadeAndNotInherited)
{
    ASSERT_EQ(Session.Error(), 0);
    const TUniqueSocket inheritable(WSASocketW(AF_INET, SOCK_DGRAM, IPPROTO_UDP, nullptr, 0, 0));
    if (!Inherited(inheritable.Get()))
        GTEST_SKIP() << "this system's sockets are not inherited even without the flag, so losing it cannot be seen";

    const TUniqueSocket socket(OpenUdpSocketNotInherited(AF_INET, &OpenWithoutNoInheritFlag));
    ASSERT_TRUE(socket);
    EXPECT_EQ(socketCalls, 2);
    EXPECT_FALSE(Inherited(socket.Get()));

    const TUniqueSocket current(OpenUdpSocketNotInherited(AF_INET));
    ASSERT_TRUE(current);
    EXPECT_FALSE(Inherited(current.Get()));
}

TEST_F(OlderWindowsTest, SocketErrorsOtherThanTheFlagsAreNotRetried)
{
    const TUniqueSocket socket(OpenUdpSocketNotInherited(AF_INET, &OpenRefusingAll));
    EXPECT_FALSE(socket);
    EXPECT_EQ(WSAGetLastError(), WSAEAFNOSUPPORT);
    EXPECT_EQ(socketCalls, 1);
}

TEST_F(OlderWindowsTest, FileSearchWithoutBasicInformationFindsTheSameFiles)
{
    const TWindowsTestFolder folder;
    std::ofstream(FsPath(folder.In("list.dat.7.0.tmp"))) << "x";
    WIN32_FIND_DATAW found {};
    const TUniqueFind search(FindFirstByName(Widen(folder.In("list.dat.*.tmp")), found, &FindWithoutBasicInfo));
    ASSERT_TRUE(search);
    EXPECT_EQ(std::wstring(found.cFileName), L"list.dat.7.0.tmp");
    EXPECT_EQ(findCalls, 2);
}

TEST_F(OlderWindowsTest, FileSearchFindingNothingIsNotAskedAgain)
{
    const TWindowsTestFolder folder;
    WIN32_FIND_DATAW found {};
    const TUniqueFind missing(FindFirstByName(Widen(folder.In("missing.*")), found, &FindCounted));
    const DWORD error = GetLastError();
    EXPECT_FALSE(missing);
    EXPECT_EQ(error, ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(findCalls, 1);
}

} // namespace
