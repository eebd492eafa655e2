#include "platform/windows/WinsockSession.h"

#include "platform/windows/WinsockApi.h"

TWinsockSession::TWinsockSession()
{
    WSADATA data {};
    m_error = WSAStartup(MAKEWORD(2, 2), &data);
    if (m_error == 0 && data.wVersion != MAKEWORD(2, 2)) {
        WSACleanup();
        m_error = WSAVERNOTSUPPORTED;
    }
}

TWinsockSession::~TWinsockSession()
{
    if (m_error == 0)
        WSACleanup();
}
