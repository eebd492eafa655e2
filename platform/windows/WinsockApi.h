#pragma once

// Windows Sockets 2. winsock2.h must come before windows.h, which would otherwise bring
// the first version's winsock.h along.
#include "platform/windows/WindowsApi.h"

#include <winsock2.h>
#include <ws2tcpip.h>
