#pragma once

#include "AgentOptions.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <fstream>
#include <netinet/in.h>
#include <string>
#include <string_view>
#include <vector>

// Answers discovery requests on UDP port 8082 for every simulated computer,
// each reply sent from that computer's own address.
class TDiscoveryResponder
{
public:
    explicit TDiscoveryResponder(const TAgentOptions& options);
    ~TDiscoveryResponder();
    TDiscoveryResponder(const TDiscoveryResponder&) = delete;
    TDiscoveryResponder& operator=(const TDiscoveryResponder&) = delete;

    // Serves until stop is set.
    void Run(const std::atomic<bool>& stop);

private:
    struct TDueReply
    {
        std::chrono::steady_clock::time_point Due;
        std::uint32_t Address; // network order
        std::uint16_t Port; // network order
        std::chrono::steady_clock::time_point RepeatUntil; // answered again until then, with --every
    };

    // Reads one datagram; a request schedules the answers.
    void Receive(std::vector<char>& buffer);
    void LogRequest(const sockaddr_in& sender, const in_addr& destination, std::string_view text);
    void AnswerDue();
    void Answer(std::uint32_t address, std::uint16_t port);

    const TAgentOptions& m_options;
    std::vector<std::uint8_t> m_reply;
    std::vector<TDueReply> m_due;
    std::ofstream m_requestLog;
    int m_socket = -1;
};

// The payload a computer answers with.
std::vector<std::uint8_t> ReplyPayload(TReplyKind kind, int webPort);
