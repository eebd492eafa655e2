#include "LoopbackHttpServer.h"

#include <stdexcept>

namespace {

// A TCP socket bound to 127.0.0.1 on a port the system picks; the port goes to port.
SOCKET BindLoopback(unsigned short& port)
{
    const SOCKET socket = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (socket == INVALID_SOCKET)
        throw std::runtime_error("socket failed");
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof address;
    if (bind(socket, reinterpret_cast<sockaddr*>(&address), length) != 0
        || getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        closesocket(socket);
        throw std::runtime_error("bind failed");
    }
    port = ntohs(address.sin_port);
    return socket;
}

std::string LoopbackUrl(unsigned short port, const std::string& path)
{
    return "http://127.0.0.1:" + std::to_string(port) + path;
}

} // namespace

TLoopbackHttpServer::TLoopbackHttpServer()
    : m_listener(BindLoopback(m_port))
{
    if (listen(m_listener.Get(), SOMAXCONN) != 0)
        throw std::runtime_error("listen failed");
    m_thread = std::thread([this] { Run(); });
}

TLoopbackHttpServer::~TLoopbackHttpServer()
{
    m_stop = true;
    m_thread.join();
}

void TLoopbackHttpServer::Serve(const std::string& path, const std::string& html)
{
    const std::lock_guard lock(m_mutex);
    m_pages[path] = html;
}

bool TLoopbackHttpServer::Requested(const std::string& path) const
{
    const std::lock_guard lock(m_mutex);
    return m_requested.contains(path);
}

std::string TLoopbackHttpServer::Url(const std::string& path) const
{
    return LoopbackUrl(m_port, path);
}

void TLoopbackHttpServer::Run()
{
    // Short waits, so that the end is noticed soon without closing the socket under accept.
    while (!m_stop) {
        fd_set ready;
        FD_ZERO(&ready);
        FD_SET(m_listener.Get(), &ready);
        timeval wait { 0, 50000 };
        if (select(0, &ready, nullptr, nullptr, &wait) <= 0)
            continue;
        const TUniqueSocket connection(accept(m_listener.Get(), nullptr, nullptr));
        if (connection.Get() != INVALID_SOCKET)
            Answer(connection.Get());
    }
}

void TLoopbackHttpServer::Answer(SOCKET connection)
{
    // The request line and headers; the engine sends no body with a GET.
    std::string request;
    char buffer[4096];
    while (request.find("\r\n\r\n") == std::string::npos) {
        const int received = recv(connection, buffer, sizeof buffer, 0);
        if (received <= 0)
            return;
        request.append(buffer, static_cast<std::size_t>(received));
    }
    const std::size_t start = request.find(' ') + 1;
    const std::string path = request.substr(start, request.find(' ', start) - start);
    std::string status = "404 Not Found";
    std::string body = "<html><body>Not found</body></html>";
    {
        const std::lock_guard lock(m_mutex);
        m_requested.insert(path);
        if (const auto page = m_pages.find(path); page != m_pages.end()) {
            status = "200 OK";
            body = page->second;
        }
    }
    const std::string answer = "HTTP/1.1 " + status + "\r\nContent-Type: text/html\r\nConnection: close\r\n"
        + "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
    send(connection, answer.data(), static_cast<int>(answer.size()), 0);
    shutdown(connection, SD_SEND);
}

TClosedPort::TClosedPort()
    : m_socket(BindLoopback(m_port))
{ }

std::string TClosedPort::Url() const
{
    return LoopbackUrl(m_port, "/");
}
