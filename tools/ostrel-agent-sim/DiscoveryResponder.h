#pragma once

#include "AgentOptions.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
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
    };

    void AnswerDue();
    void Answer(std::uint32_t address, std::uint16_t port);

    const TAgentOptions& m_options;
    std::vector<std::uint8_t> m_reply;
    std::vector<TDueReply> m_due;
    int m_socket = -1;
};

// The payload a computer answers with.
std::vector<std::uint8_t> ReplyPayload(TReplyKind kind, int webPort);
