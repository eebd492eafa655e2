#pragma once

#include "platform/windows/WinsockApi.h"

#include <string>

// Calls in the forms that newer systems take, with the fallback for the systems that
// refuse them: Windows 7 before its first service pack knows no WSA_FLAG_NO_HANDLE_INHERIT,
// and systems before Windows 7 no FindExInfoBasic. The call itself is a parameter so that
// tests can play an older system.

using TOpenSocket = decltype(&WSASocketW);
using TFindFirstFile = decltype(&FindFirstFileExW);

// A new UDP socket of family that programs Ostrel starts do not inherit; INVALID_SOCKET and
// the Winsock error (WSAGetLastError) when none can be made.
SOCKET OpenUdpSocketNotInherited(int family, TOpenSocket open = &WSASocketW);

// FindFirstFileExW for pattern with the name match, without the short 8.3 names where the
// system can leave them out; INVALID_HANDLE_VALUE and GetLastError when nothing is found.
HANDLE FindFirstByName(const std::wstring& pattern, WIN32_FIND_DATAW& found, TFindFirstFile find = &FindFirstFileExW);
