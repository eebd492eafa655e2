#include "AgentWebServer.h"

#include <httplib.h>
#include <stdexcept>

TAgentWebServer::TAgentWebServer(const TAgentOptions& options)
    : m_options(options)
    , m_server(std::make_unique<httplib::Server>())
{
    const auto started = std::chrono::steady_clock::now();
    for (const auto& computer : options.Computers)
        m_pagesByAddress.try_emplace(computer.Address, computer.Name, options.WebPort, started);
    if (!options.PageLog.empty()) {
        m_pageLog.open(options.PageLog, std::ios::app);
        if (!m_pageLog)
            throw std::runtime_error("cannot write " + options.PageLog);
    }

    // What the /processes page last reported of the keys it saw; one log for all computers.
    m_server->Post("/key-log", [this](const httplib::Request& request, httplib::Response&) {
        const std::lock_guard lock(m_keyLogLock);
        m_keyLog = request.body;
    });
    m_server->Get("/key-log", [this](const httplib::Request&, httplib::Response& response) {
        const std::lock_guard lock(m_keyLogLock);
        response.set_content(m_keyLog, "text/plain");
    });
    m_server->Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
        if (m_pageLog.is_open()) {
            const std::lock_guard lock(m_pageLogLock);
            m_pageLog << "GET " << request.path << std::endl;
        }
        const auto pages = m_pagesByAddress.find(request.local_addr);
        const auto page = pages == m_pagesByAddress.end() ? std::nullopt : pages->second.Page(request.path);
        if (!page) {
            response.status = 404;
            response.set_content("<html><body><h1>Not found</h1></body></html>", "text/html");
            return;
        }
        response.set_content(*page, "text/html; charset=utf-8");
    });
}

TAgentWebServer::~TAgentWebServer() = default;

void TAgentWebServer::Bind()
{
    if (!m_server->bind_to_port("0.0.0.0", m_options.WebPort))
        throw std::runtime_error("cannot listen on TCP port " + std::to_string(m_options.WebPort));
}

void TAgentWebServer::Run()
{
    m_server->listen_after_bind();
}

void TAgentWebServer::Stop()
{
    m_server->stop();
}
