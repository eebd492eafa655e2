// ostrel-flood: sends a flood of hostile UDP datagrams at Ostrel's discovery port, each from a
// random source address of a given range, for the stress test on the simulated LAN. Raw IPv4
// with our own headers (IP_HDRINCL), so one process speaks for a whole network; the largest
// datagram needs a link MTU of 8,221 bytes, which the test sets on its veth pair.
//
// Usage: ostrel-flood --to ADDRESS [--port 8081] [--rate 100000] [--seconds 10]
//                     [--from 10.77.128.0/17] [--max-size 8193] [--seed N]
// Half the datagrams carry "I am here, Port:" at a random place; all other bytes are random.
// Prints what it sent when it ends.
#include <arpa/inet.h>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <netinet/ip.h>
#include <netinet/udp.h>
#include <stdexcept>
#include <string>
#include <string_view>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::string_view ReplyMarker = "I am here, Port:";
constexpr std::size_t Batch = 32;
constexpr std::size_t Headers = sizeof(iphdr) + sizeof(udphdr);

struct TOptions
{
    in_addr_t To = 0;
    std::uint16_t Port = 8081;
    double Rate = 100000;
    double Seconds = 10;
    std::uint32_t FromBase = 0;
    std::uint32_t FromSize = 1;
    std::size_t MaxSize = 8193;
    std::uint64_t Seed = 1;
};

TOptions ParseOptions(int argc, char** argv)
{
    TOptions options;
    options.FromBase = ntohl(inet_addr("10.77.128.0"));
    options.FromSize = 1u << 15;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string_view name = argv[i];
        const std::string value = argv[i + 1];
        if (name == "--to") {
            options.To = inet_addr(value.c_str());
        } else if (name == "--port") {
            options.Port = static_cast<std::uint16_t>(std::stoi(value));
        } else if (name == "--rate") {
            options.Rate = std::stod(value);
        } else if (name == "--seconds") {
            options.Seconds = std::stod(value);
        } else if (name == "--from") {
            const auto slash = value.find('/');
            options.FromBase = ntohl(inet_addr(value.substr(0, slash).c_str()));
            options.FromSize = 1u << (32 - std::stoi(value.substr(slash + 1)));
        } else if (name == "--max-size") {
            options.MaxSize = std::stoul(value);
        } else if (name == "--seed") {
            options.Seed = std::stoull(value) | 1;
        } else {
            throw std::invalid_argument("unknown option " + std::string(name));
        }
    }
    if (options.To == 0 || options.To == INADDR_NONE)
        throw std::invalid_argument("--to ADDRESS is needed");
    return options;
}

// xorshift64*: fast, and repeatable from a seed.
class TRandom
{
public:
    explicit TRandom(std::uint64_t seed)
        : m_state(seed)
    { }
    std::uint64_t Next()
    {
        m_state ^= m_state >> 12;
        m_state ^= m_state << 25;
        m_state ^= m_state >> 27;
        return m_state * 2685821657736338717u;
    }
    std::size_t Below(std::size_t limit) { return static_cast<std::size_t>(Next() % limit); }

private:
    std::uint64_t m_state;
};

// Fills packet with one datagram's headers and payload; its length.
std::size_t MakeDatagram(std::uint8_t* packet, const TOptions& options, TRandom& random, bool marked)
{
    const std::size_t size = marked ? ReplyMarker.size() + random.Below(options.MaxSize - ReplyMarker.size() + 1)
                                    : random.Below(options.MaxSize + 1);
    std::uint8_t* payload = packet + Headers;
    for (std::size_t i = 0; i < size; i += 8) {
        const std::uint64_t bits = random.Next();
        std::memcpy(payload + i, &bits, std::min<std::size_t>(8, size - i));
    }
    if (marked)
        std::memcpy(payload + random.Below(size - ReplyMarker.size() + 1), ReplyMarker.data(), ReplyMarker.size());

    auto* ip = reinterpret_cast<iphdr*>(packet);
    *ip = {};
    ip->version = 4;
    ip->ihl = 5;
    ip->ttl = 64;
    ip->protocol = IPPROTO_UDP;
    ip->tot_len = htons(static_cast<std::uint16_t>(Headers + size));
    ip->saddr = htonl(options.FromBase + static_cast<std::uint32_t>(random.Below(options.FromSize)));
    ip->daddr = options.To;
    // The kernel fills in the identification and the header checksum; a UDP checksum of 0 means none.
    auto* udp = reinterpret_cast<udphdr*>(packet + sizeof(iphdr));
    udp->source = htons(static_cast<std::uint16_t>(1024 + random.Below(64512)));
    udp->dest = htons(options.Port);
    udp->len = htons(static_cast<std::uint16_t>(sizeof(udphdr) + size));
    udp->check = 0;
    return Headers + size;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        const TOptions options = ParseOptions(argc, argv);
        const int raw = socket(AF_INET, SOCK_RAW, IPPROTO_RAW);
        if (raw < 0)
            throw std::runtime_error(std::string("raw socket: ") + std::strerror(errno));
        TRandom random(options.Seed);
        std::vector<std::uint8_t> packets(Batch * (Headers + options.MaxSize));
        iovec parts[Batch];
        mmsghdr messages[Batch];
        sockaddr_in to {};
        to.sin_family = AF_INET;
        to.sin_addr.s_addr = options.To;

        using TClock = std::chrono::steady_clock;
        const auto start = TClock::now();
        const auto end
            = start + std::chrono::duration_cast<TClock::duration>(std::chrono::duration<double>(options.Seconds));
        std::uint64_t sent = 0;
        std::uint64_t failed = 0;
        std::uint64_t turn = 0;
        for (auto now = start; now < end; now = TClock::now()) {
            // Pace by the clock: send what the rate allows by now, then wait a little.
            const double elapsed = std::chrono::duration<double>(now - start).count();
            const auto due = static_cast<std::uint64_t>(elapsed * options.Rate);
            if (sent + failed >= due) {
                std::this_thread::sleep_for(std::chrono::microseconds(200));
                continue;
            }
            const std::size_t count = std::min<std::uint64_t>(Batch, due - sent - failed);
            for (std::size_t i = 0; i < count; ++i) {
                std::uint8_t* packet = packets.data() + i * (Headers + options.MaxSize);
                parts[i] = { packet, MakeDatagram(packet, options, random, (turn++ & 1) != 0) };
                messages[i] = {};
                messages[i].msg_hdr.msg_name = &to;
                messages[i].msg_hdr.msg_namelen = sizeof to;
                messages[i].msg_hdr.msg_iov = &parts[i];
                messages[i].msg_hdr.msg_iovlen = 1;
            }
            const int done = sendmmsg(raw, messages, static_cast<unsigned>(count), 0);
            // A full queue drops a batch; the datagrams count as failed, not as sent.
            sent += done > 0 ? static_cast<std::uint64_t>(done) : 0;
            failed += count - (done > 0 ? static_cast<std::size_t>(done) : 0);
        }
        const double seconds = std::chrono::duration<double>(TClock::now() - start).count();
        std::printf("sent %llu datagrams in %.2f s (%.0f/s), %llu not sent\n", static_cast<unsigned long long>(sent),
                    seconds, static_cast<double>(sent) / seconds, static_cast<unsigned long long>(failed));
        close(raw);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "ostrel-flood: %s\n", error.what());
        return 2;
    }
}
