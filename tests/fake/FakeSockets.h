#pragma once

#include "platform/Sockets.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

// Sockets that log every call, fail where a test says, and deliver the datagrams a
// test queues. Waits are real but end at once on a datagram, a close or a wait error.
class TFakeSocketApi;

class TFakeUdpSocket : public TUdpSocket
{
public:
    TFakeUdpSocket(TFakeSocketApi& api, TAddressFamily family);

    TAddressFamily Family() const override { return m_family; }
    int Open() override;
    bool IsOpen() const override;
    int SetReuseAddress(bool on) override;
    int SetIPv6Only(bool on) override;
    int SetBroadcast(bool on) override;
    int SetReceiveBufferSize(int bytes) override;
    int Bind(std::uint16_t port) override;
    TWaitResult Wait(int timeoutMilliseconds) override;
    TReceiveResult Receive(std::span<std::uint8_t> buffer) override;
    TSendResult SendTo(std::span<const std::uint8_t> payload, const std::string& address, std::uint16_t port) override;
    void Close() override;

    void Deliver(std::string payload, std::string sender);
    // Several datagrams that arrive together, in order: (payload, sender).
    void Deliver(std::vector<std::pair<std::string, std::string>> datagrams);
    // The next wait reports this error, as a broken socket would.
    void FailWait(int error);
    // Datagrams delivered and not yet received.
    std::size_t Waiting() const;

    // Error for the next call of an operation ("open", "reuse", "v6only", "broadcast", "bind", "send").
    std::map<std::string, int> Failures;
    // Bytes the next send claims to have sent, when set.
    std::optional<std::size_t> ShortSend;

private:
    int Step(const std::string& operation, const std::string& detail = {});

    TFakeSocketApi& m_api;
    const TAddressFamily m_family;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::pair<std::string, std::string>> m_datagrams;
    bool m_open = false;
    int m_waitError = 0;
};

// Names as a test scripts them: known names, lookups that take a while, and lookups
// that hang until the test lets them go. Safe to use from any thread.
class TFakeNameResolver : public TNameResolver
{
public:
    std::optional<std::string> ReverseName(const std::string& ipv4Address) override;

    void SetName(const std::string& address, const std::string& name);
    // How long the lookup of address takes.
    void SetDelay(const std::string& address, std::chrono::milliseconds delay);
    // Lookups of address block until Release.
    void Hang(const std::string& address);
    void Release();
    // Lookups under way now, and ended so far.
    int Running() const;
    int Ended() const;

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_released;
    std::map<std::string, std::string> m_names;
    std::map<std::string, std::chrono::milliseconds> m_delays;
    std::set<std::string> m_hanging;
    int m_running = 0;
    int m_ended = 0;
};

class TFakeSocketApi : public TSocketApi
{
public:
    std::unique_ptr<TUdpSocket> CreateUdpSocket(TAddressFamily family) override;
    bool IPv6Offered() override { return OfferIPv6; }
    std::shared_ptr<TNameResolver> NameResolver() override;

    void Log(const std::string& entry);
    std::vector<std::string> Calls() const;
    TFakeUdpSocket& Socket(std::size_t index) { return *Made.at(index); }

    bool OfferIPv6 = true;
    // Shared with the lookups, which may outlive this object.
    std::shared_ptr<TFakeNameResolver> Resolver = std::make_shared<TFakeNameResolver>();
    // Runs whenever the resolver is asked for; a test's way to make that fail.
    std::function<void()> OnNameResolver;
    std::vector<TFakeUdpSocket*> Made;

private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_calls;
};
