#pragma once

#include "AgentOptions.h"
#include "AgentPages.h"

#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace httplib {
class Server;
}

// Serves every simulated computer's pages on the web port; the address the
// browser connected to tells which computer it asked for.
class TAgentWebServer
{
public:
    explicit TAgentWebServer(const TAgentOptions& options);
    ~TAgentWebServer();
    TAgentWebServer(const TAgentWebServer&) = delete;
    TAgentWebServer& operator=(const TAgentWebServer&) = delete;

    // Binds the port; throws std::runtime_error when it cannot.
    void Bind();
    // Serves until Stop.
    void Run();
    void Stop();

private:
    const TAgentOptions& m_options;
    std::map<std::string, TAgentPages> m_pagesByAddress;
    std::unique_ptr<httplib::Server> m_server;
    // The server answers on several threads.
    std::mutex m_keyLogLock;
    std::string m_keyLog;
    std::mutex m_pageLogLock;
    std::ofstream m_pageLog;
};
