#include "platform/windows/OlderWindows.h"

SOCKET OpenUdpSocketNotInherited(int family, TOpenSocket open)
{
    const SOCKET socket = open(family, SOCK_DGRAM, IPPROTO_UDP, nullptr, 0, WSA_FLAG_NO_HANDLE_INHERIT);
    if (socket != INVALID_SOCKET || WSAGetLastError() != WSAEINVAL)
        return socket;
    // The unknown flag is refused as a whole; the socket is made inheritable and loses that
    // after. Should that fail, the socket still works: a started program could only keep
    // the port open after Ostrel ends.
    const SOCKET inheritable = open(family, SOCK_DGRAM, IPPROTO_UDP, nullptr, 0, 0);
    if (inheritable != INVALID_SOCKET)
        SetHandleInformation(reinterpret_cast<HANDLE>(inheritable), HANDLE_FLAG_INHERIT, 0);
    return inheritable;
}

HANDLE FindFirstByName(const std::wstring& pattern, WIN32_FIND_DATAW& found, TFindFirstFile find)
{
    const HANDLE search = find(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
    if (search != INVALID_HANDLE_VALUE || GetLastError() != ERROR_INVALID_PARAMETER)
        return search;
    return find(pattern.c_str(), FindExInfoStandard, &found, FindExSearchNameMatch, nullptr, 0);
}
