#pragma once

// The Windows Sockets number of a POSIX errno value. Values without a Windows
// counterpart become 20000 + errno: outside every Windows Sockets number, so
// they are never mistaken for one, and still tell the errno apart.
int WinSockErrorFromErrno(int error);
