// ostrel-slow-dns: a DNS responder for the test LAN that answers reverse (PTR)
// queries for the addresses it is given only after a delay, and every other
// query at once with "no such name". It stands in for a slow resolver; with
// --silent it answers nothing at all and stands in for one that cannot be
// reached, whose every query waits for the client's time-out.
//
// Usage: ostrel-slow-dns --listen ADDRESS [--delay MS | --silent] ADDRESS=NAME...
#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <iostream>
#include <map>
#include <netinet/in.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

using TClock = std::chrono::steady_clock;

struct TDueAnswer
{
    TClock::time_point Due;
    std::vector<std::uint8_t> Answer;
    sockaddr_in To;
};

volatile std::sig_atomic_t stopRequested = 0;

// "10.77.1.5" becomes "5.1.77.10.in-addr.arpa", the name a PTR query asks for.
std::string ReverseQueryName(const std::string& address)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t dot; (dot = address.find('.', start)) != std::string::npos; start = dot + 1)
        parts.push_back(address.substr(start, dot - start));
    parts.push_back(address.substr(start));
    std::string name;
    for (auto part = parts.rbegin(); part != parts.rend(); ++part)
        name += *part + ".";
    return name + "in-addr.arpa";
}

void AppendName(std::vector<std::uint8_t>& out, const std::string& name)
{
    std::size_t start = 0;
    while (start <= name.size()) {
        const auto dot = std::min(name.find('.', start), name.size());
        out.push_back(static_cast<std::uint8_t>(dot - start));
        out.insert(out.end(), name.begin() + static_cast<std::ptrdiff_t>(start),
                   name.begin() + static_cast<std::ptrdiff_t>(dot));
        start = dot + 1;
    }
    out.push_back(0);
}

// The query's name in dotted form and the offset after its question; 0 when malformed.
std::size_t ParseQuestion(const std::vector<std::uint8_t>& query, std::size_t length, std::string& name)
{
    std::size_t at = 12;
    while (at < length && query[at] != 0) {
        const std::size_t label = query[at];
        if (label > 63 || at + 1 + label > length)
            return 0;
        if (!name.empty())
            name += '.';
        name.append(query.begin() + static_cast<std::ptrdiff_t>(at + 1),
                    query.begin() + static_cast<std::ptrdiff_t>(at + 1 + label));
        at += 1 + label;
    }
    return at + 5 <= length ? at + 5 : 0; // the zero label, type and class
}

std::vector<std::uint8_t> Answer(const std::vector<std::uint8_t>& query, std::size_t questionEnd,
                                 const std::string* hostName)
{
    std::vector<std::uint8_t> answer(query.begin(), query.begin() + static_cast<std::ptrdiff_t>(questionEnd));
    answer[2] = 0x81; // response, recursion desired
    answer[3] = hostName ? 0x80 : 0x83; // recursion available; no error or "no such name"
    answer[4] = 0;
    answer[5] = 1;
    answer[6] = 0;
    answer[7] = hostName ? 1 : 0;
    std::fill(answer.begin() + 8, answer.begin() + 12, 0);
    if (hostName) {
        std::vector<std::uint8_t> data;
        AppendName(data, *hostName);
        const std::uint8_t record[] = { 0xC0,
                                        0x0C,
                                        0,
                                        12,
                                        0,
                                        1,
                                        0,
                                        0,
                                        0,
                                        60,
                                        static_cast<std::uint8_t>(data.size() >> 8),
                                        static_cast<std::uint8_t>(data.size() & 0xFF) };
        answer.insert(answer.end(), std::begin(record), std::end(record));
        answer.insert(answer.end(), data.begin(), data.end());
    }
    return answer;
}

} // namespace

int main(int argc, char** argv)
{
    std::string listen = "0.0.0.0";
    int delay = 2000;
    bool silent = false;
    std::map<std::string, std::string> slowNames; // query name to host name
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--listen" && i + 1 < argc) {
            listen = argv[++i];
        } else if (argument == "--delay" && i + 1 < argc) {
            delay = std::atoi(argv[++i]);
        } else if (argument == "--silent") {
            silent = true;
        } else if (const auto equals = argument.find('='); equals != std::string::npos) {
            slowNames[ReverseQueryName(argument.substr(0, equals))] = argument.substr(equals + 1);
        } else {
            std::cerr << "usage: ostrel-slow-dns [--listen ADDRESS] [--delay MS | --silent] ADDRESS=NAME...\n";
            return 2;
        }
    }

    const int socket = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_port = htons(53);
    if (socket < 0 || inet_pton(AF_INET, listen.c_str(), &address.sin_addr) != 1
        || ::bind(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        std::cerr << "ostrel-slow-dns: cannot listen on " << listen << ":53: " << std::strerror(errno) << "\n";
        return 1;
    }
    std::signal(SIGTERM, [](int) { stopRequested = 1; });
    std::signal(SIGINT, [](int) { stopRequested = 1; });
    if (silent)
        std::cout << "ostrel-slow-dns: ready, answering nothing" << std::endl;
    else
        std::cout << "ostrel-slow-dns: ready, " << slowNames.size() << " slow name(s), " << delay << " ms" << std::endl;

    std::vector<TDueAnswer> due;
    std::vector<std::uint8_t> query(512);
    while (!stopRequested) {
        pollfd wait { socket, POLLIN, 0 };
        if (::poll(&wait, 1, 20) > 0) {
            sockaddr_in from {};
            socklen_t fromLength = sizeof from;
            const ssize_t length
                = ::recvfrom(socket, query.data(), query.size(), 0, reinterpret_cast<sockaddr*>(&from), &fromLength);
            std::string name;
            const std::size_t questionEnd
                = length >= 12 ? ParseQuestion(query, static_cast<std::size_t>(length), name) : 0;
            if (questionEnd != 0 && !silent) {
                const auto slow = slowNames.find(name);
                const bool ptr = query[questionEnd - 3] == 12;
                const std::string* hostName = slow != slowNames.end() && ptr ? &slow->second : nullptr;
                due.push_back({ TClock::now() + std::chrono::milliseconds(hostName ? delay : 0),
                                Answer(query, questionEnd, hostName), from });
            }
        }
        const auto now = TClock::now();
        for (auto answer = due.begin(); answer != due.end();) {
            if (answer->Due > now) {
                ++answer;
                continue;
            }
            ::sendto(socket, answer->Answer.data(), answer->Answer.size(), 0,
                     reinterpret_cast<const sockaddr*>(&answer->To), sizeof answer->To);
            answer = due.erase(answer);
        }
    }
    ::close(socket);
    return 0;
}
