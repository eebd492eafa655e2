#pragma once

// Holds Windows Sockets 2.2 started for as long as it lives: every object that makes socket
// calls owns one, since Winsock counts its starts and stops.
class TWinsockSession
{
public:
    TWinsockSession();
    TWinsockSession(const TWinsockSession&) = delete;
    TWinsockSession& operator=(const TWinsockSession&) = delete;
    ~TWinsockSession();

    // 0, or the Windows Sockets error that kept Winsock from starting.
    int Error() const { return m_error; }

private:
    int m_error = 0;
};
