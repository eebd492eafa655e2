#pragma once

#include <string>

// "Socket Error # n", CR LF, and the table's description of the Windows Sockets
// number n (empty for a number the table lacks).
std::string SocketErrorText(int error);

// Throws EOstrelError with the socket error text unless error is 0.
void CheckSocketCall(int error);
