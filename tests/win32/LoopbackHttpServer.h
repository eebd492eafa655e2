#pragma once

#include "platform/windows/WinsockApi.h"
#include "platform/windows/WinsockSession.h"

#include <atomic>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>

// An owned socket, closed when the owner goes.
class TUniqueSocket
{
public:
    explicit TUniqueSocket(SOCKET socket)
        : m_socket(socket)
    { }
    TUniqueSocket(const TUniqueSocket&) = delete;
    TUniqueSocket& operator=(const TUniqueSocket&) = delete;
    ~TUniqueSocket()
    {
        if (m_socket != INVALID_SOCKET)
            closesocket(m_socket);
    }

    SOCKET Get() const { return m_socket; }

private:
    SOCKET m_socket;
};

// A tiny HTTP server on 127.0.0.1, on a thread of its own: it answers GET requests for the
// paths it was given with their HTML and every other path with 404, and remembers the paths
// asked for.
class TLoopbackHttpServer
{
public:
    TLoopbackHttpServer();
    TLoopbackHttpServer(const TLoopbackHttpServer&) = delete;
    TLoopbackHttpServer& operator=(const TLoopbackHttpServer&) = delete;
    ~TLoopbackHttpServer();

    void Serve(const std::string& path, const std::string& html);
    bool Requested(const std::string& path) const;
    std::string Url(const std::string& path) const;

private:
    void Run();
    void Answer(SOCKET connection);

    TWinsockSession m_winsock;
    // Set while the listener is made, so declared before it.
    unsigned short m_port = 0;
    TUniqueSocket m_listener;
    std::atomic<bool> m_stop = false;
    mutable std::mutex m_mutex;
    std::map<std::string, std::string> m_pages;
    std::set<std::string> m_requested;
    std::thread m_thread;
};

// A loopback port that refuses every connection for as long as this lives: bound, so that
// nothing else takes it, and never listening.
class TClosedPort
{
public:
    TClosedPort();

    std::string Url() const;

private:
    TWinsockSession m_winsock;
    unsigned short m_port = 0;
    TUniqueSocket m_socket;
};
