#include "FakeSockets.h"

#include <algorithm>
#include <chrono>
#include <thread>
#include <utility>

TFakeUdpSocket::TFakeUdpSocket(TFakeSocketApi& api, TAddressFamily family)
    : m_api(api)
    , m_family(family)
{ }

int TFakeUdpSocket::Step(const std::string& operation, const std::string& detail)
{
    m_api.Log(std::string(m_family == TAddressFamily::IPv4 ? "v4 " : "v6 ") + operation + detail);
    const auto failure = Failures.find(operation);
    if (failure == Failures.end())
        return 0;
    const int error = failure->second;
    Failures.erase(failure);
    return error;
}

int TFakeUdpSocket::Open()
{
    const int error = Step("open");
    std::lock_guard lock(m_mutex);
    m_open = error == 0;
    return error;
}

bool TFakeUdpSocket::IsOpen() const
{
    std::lock_guard lock(m_mutex);
    return m_open;
}

int TFakeUdpSocket::SetReuseAddress(bool on)
{
    return IsOpen() ? Step("reuse", on ? " on" : " off") : SocketErrors::NotSocket;
}

int TFakeUdpSocket::SetIPv6Only(bool on)
{
    return IsOpen() ? Step("v6only", on ? " on" : " off") : SocketErrors::NotSocket;
}

int TFakeUdpSocket::SetBroadcast(bool on)
{
    return IsOpen() ? Step("broadcast", on ? " on" : " off") : SocketErrors::NotSocket;
}

// The numbers get their space by insert: GCC 12 at -O3 warns falsely (-Wrestrict) on " " + std::to_string.
int TFakeUdpSocket::SetReceiveBufferSize(int bytes)
{
    return IsOpen() ? Step("buffer", std::to_string(bytes).insert(0, 1, ' ')) : SocketErrors::NotSocket;
}

int TFakeUdpSocket::Bind(std::uint16_t port)
{
    return IsOpen() ? Step("bind", std::to_string(port).insert(0, 1, ' ')) : SocketErrors::NotSocket;
}

TWaitResult TFakeUdpSocket::Wait(int timeoutMilliseconds)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMilliseconds),
                       [&] { return !m_open || m_waitError != 0 || !m_datagrams.empty(); });
    if (!m_open)
        return { SocketErrors::NotSocket, false };
    if (m_waitError != 0)
        return { std::exchange(m_waitError, 0), false };
    return { 0, !m_datagrams.empty() };
}

TReceiveResult TFakeUdpSocket::Receive(std::span<std::uint8_t> buffer)
{
    std::lock_guard lock(m_mutex);
    TReceiveResult result;
    if (!m_open || m_datagrams.empty()) {
        result.Error = m_open ? 10035 : SocketErrors::NotSocket;
        return result;
    }
    auto [payload, sender] = std::move(m_datagrams.front());
    m_datagrams.pop_front();
    result.Truncated = payload.size() > buffer.size();
    result.Size = std::min(payload.size(), buffer.size());
    std::copy_n(payload.begin(), result.Size, buffer.begin());
    result.Sender = sender;
    return result;
}

TSendResult TFakeUdpSocket::SendTo(std::span<const std::uint8_t> payload, const std::string& address,
                                   std::uint16_t port)
{
    if (!IsOpen())
        return { SocketErrors::NotSocket, 0 };
    const int error
        = Step("send", " " + address + ":" + std::to_string(port) + " " + std::string(payload.begin(), payload.end()));
    if (error != 0)
        return { error, 0 };
    return { 0, ShortSend ? *std::exchange(ShortSend, std::nullopt) : payload.size() };
}

void TFakeUdpSocket::Close()
{
    {
        std::lock_guard lock(m_mutex);
        if (!m_open)
            return;
        m_open = false;
    }
    Step("close");
    m_changed.notify_all();
}

void TFakeUdpSocket::Deliver(std::string payload, std::string sender)
{
    {
        std::lock_guard lock(m_mutex);
        m_datagrams.emplace_back(std::move(payload), std::move(sender));
    }
    m_changed.notify_all();
}

void TFakeUdpSocket::Deliver(std::vector<std::pair<std::string, std::string>> datagrams)
{
    {
        std::lock_guard lock(m_mutex);
        for (auto& datagram : datagrams)
            m_datagrams.push_back(std::move(datagram));
    }
    m_changed.notify_all();
}

void TFakeUdpSocket::FailWait(int error)
{
    {
        std::lock_guard lock(m_mutex);
        m_waitError = error;
    }
    m_changed.notify_all();
}

std::size_t TFakeUdpSocket::Waiting() const
{
    std::lock_guard lock(m_mutex);
    return m_datagrams.size();
}

std::unique_ptr<TUdpSocket> TFakeSocketApi::CreateUdpSocket(TAddressFamily family)
{
    auto socket = std::make_unique<TFakeUdpSocket>(*this, family);
    Made.push_back(socket.get());
    Log(family == TAddressFamily::IPv4 ? "create v4" : "create v6");
    return socket;
}

std::shared_ptr<TNameResolver> TFakeSocketApi::NameResolver()
{
    if (OnNameResolver)
        OnNameResolver();
    return Resolver;
}

std::optional<std::string> TFakeNameResolver::ReverseName(const std::string& ipv4Address)
{
    std::unique_lock lock(m_mutex);
    ++m_running;
    if (const auto delay = m_delays.find(ipv4Address); delay != m_delays.end()) {
        const auto wait = delay->second;
        lock.unlock();
        std::this_thread::sleep_for(wait);
        lock.lock();
    }
    m_released.wait(lock, [&] { return !m_hanging.contains(ipv4Address); });
    --m_running;
    ++m_ended;
    const auto found = m_names.find(ipv4Address);
    if (found == m_names.end())
        return std::nullopt;
    return found->second;
}

void TFakeNameResolver::SetName(const std::string& address, const std::string& name)
{
    std::lock_guard lock(m_mutex);
    m_names[address] = name;
}

void TFakeNameResolver::SetDelay(const std::string& address, std::chrono::milliseconds delay)
{
    std::lock_guard lock(m_mutex);
    m_delays[address] = delay;
}

void TFakeNameResolver::Hang(const std::string& address)
{
    std::lock_guard lock(m_mutex);
    m_hanging.insert(address);
}

void TFakeNameResolver::Release()
{
    {
        std::lock_guard lock(m_mutex);
        m_hanging.clear();
    }
    m_released.notify_all();
}

int TFakeNameResolver::Running() const
{
    std::lock_guard lock(m_mutex);
    return m_running;
}

int TFakeNameResolver::Ended() const
{
    std::lock_guard lock(m_mutex);
    return m_ended;
}

void TFakeSocketApi::Log(const std::string& entry)
{
    std::lock_guard lock(m_mutex);
    m_calls.push_back(entry);
}

std::vector<std::string> TFakeSocketApi::Calls() const
{
    std::lock_guard lock(m_mutex);
    return m_calls;
}
