#include "AgentOptions.h"

#include <charconv>
#include <map>
#include <stdexcept>

namespace {

int Number(const std::string& text, const std::string& option)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 0)
        throw std::invalid_argument("option " + option + " needs a whole number, not \"" + text + "\"");
    return value;
}

TReplyKind ReplyKind(const std::string& text)
{
    static const std::map<std::string, TReplyKind> kinds {
        { "normal", TReplyKind::Normal },
        { "no-marker", TReplyKind::NoMarker },
        { "lower-case", TReplyKind::LowerCase },
        { "prefixed", TReplyKind::Prefixed },
        { "crlf", TReplyKind::CrLf },
        { "empty-port", TReplyKind::EmptyPort },
        { "size-8192", TReplyKind::Size8192 },
        { "size-8193", TReplyKind::Size8193 },
        { "markup", TReplyKind::Markup },
    };
    const auto found = kinds.find(text);
    if (found == kinds.end())
        throw std::invalid_argument("unknown reply kind \"" + text + "\"");
    return found->second;
}

TSimulatedComputer Computer(const std::string& text)
{
    const auto equals = text.find('=');
    if (equals == std::string::npos || equals == 0 || equals + 1 == text.size())
        throw std::invalid_argument("--computer needs ADDRESS=NAME, not \"" + text + "\"");
    return { text.substr(0, equals), text.substr(equals + 1) };
}

} // namespace

TAgentOptions ParseAgentOptions(const std::vector<std::string>& arguments)
{
    TAgentOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= arguments.size())
                throw std::invalid_argument("option " + option + " needs a value");
            return arguments[++i];
        };
        if (option == "--help" || option == "-h")
            options.Help = true;
        else if (option == "--computer")
            options.Computers.push_back(Computer(value()));
        else if (option == "--web-port")
            options.WebPort = Number(value(), option);
        else if (option == "--reply")
            options.Reply = ReplyKind(value());
        else if (option == "--twice")
            options.Twice = true;
        else if (option == "--delay")
            options.DelayMilliseconds = Number(value(), option);
        else if (option == "--every")
            options.EveryMilliseconds = Number(value(), option);
        else if (option == "--requests")
            options.RequestLog = value();
        else if (option == "--page-requests")
            options.PageLog = value();
        else
            throw std::invalid_argument("unknown option \"" + option + "\"");
    }
    if (!options.Help && options.Computers.empty())
        throw std::invalid_argument("give at least one --computer ADDRESS=NAME");
    if (options.WebPort == 0 || options.WebPort > 65535)
        throw std::invalid_argument("--web-port must lie between 1 and 65535");
    return options;
}

std::string AgentUsage()
{
    return R"(ostrel-agent-sim: simulated monitoring agents for testing Ostrel.

Answers "Hello, KVD" on UDP port 8082 with "I am here, Port:" and the web port,
once from each simulated computer's address, and serves each computer's web
interface on that port (chosen by the address a browser connects to).

Options:
  --computer ADDRESS=NAME  a simulated computer; repeat for many. ADDRESS must be
                           an IPv4 address of this host (network namespace).
  --web-port PORT          TCP port of the web interfaces (default 8080).
  --reply KIND             how to answer: normal, no-marker, lower-case, prefixed
                           ("Agent: " before the marker), crlf (CR LF after the
                           port), empty-port, size-8192, size-8193 (padded in front),
                           markup (red bold text in HTML after the port).
  --twice                  answer every request twice.
  --delay MS               answer MS milliseconds after the request.
  --every MS               answer again every MS milliseconds, for a minute after
                           each request: a chatty or hostile sender.
  --requests FILE          append a line to FILE for every datagram received on
                           port 8082: "FROM ADDRESS:PORT TO ADDRESS:PORT TEXT", with
                           the address the datagram was sent to.
  --page-requests FILE     append a line "GET PATH" to FILE for every page asked
                           of the web server.
  --help                   this text.

Pages of every computer (stable paths, used by tests):
  /              overview: name, CPU, memory, disks, uptime, links to the rest
  /cpu           processor load
  /memory        memory use
  /disks         disks and free space
  /frame-fail    a page holding a frame whose source cannot be reached
  /script-error  a page whose script raises an error
  /links         a link to /cpu, a link to /docs that asks for a new window,
                 a button whose script opens /help in a new window, and a
                 link that cannot be followed
  /processes     a find box whose script posts every key event it sees to
                 /key-log; GET /key-log gives the last report back
  anything else  404

Several copies may run at once (each with its own web port): all receive the
broadcast. It runs until SIGINT or SIGTERM.
)";
}
