#pragma once

#include <optional>
#include <string>
#include <vector>

// How a simulated agent answers "Hello, KVD".
enum class TReplyKind {
    Normal, // "I am here, Port:" + port
    NoMarker, // "Port:" + port
    LowerCase, // the marker in lower case
    Prefixed, // "Agent: " before the marker
    CrLf, // CR LF after the port
    EmptyPort, // the marker alone
    Size8192, // padded in front to 8192 bytes
    Size8193, // padded in front to 8193 bytes
    Markup, // HTML markup after the port: red bold text
};

struct TSimulatedComputer
{
    std::string Address; // the IPv4 address it answers from
    std::string Name; // its computer name, shown on its pages
};

struct TAgentOptions
{
    std::vector<TSimulatedComputer> Computers;
    int WebPort = 8080;
    TReplyKind Reply = TReplyKind::Normal;
    bool Twice = false;
    int DelayMilliseconds = 0;
    // Answers again every so many milliseconds for a minute after each request; 0: once.
    int EveryMilliseconds = 0;
    // A file that gets one line for every datagram received on the request port.
    std::string RequestLog;
    // A file that gets one line for every page asked of the web server: "GET PATH".
    std::string PageLog;
    bool Help = false;
};

// Parses the command line; throws std::invalid_argument with a message for the user.
TAgentOptions ParseAgentOptions(const std::vector<std::string>& arguments);

// The usage text, with the page paths that tests rely on.
std::string AgentUsage();
