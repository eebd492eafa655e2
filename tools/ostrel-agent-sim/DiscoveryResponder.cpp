#include "DiscoveryResponder.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr std::uint16_t RequestPort = 8082;
constexpr std::string_view RequestText = "Hello, KVD";

std::runtime_error SystemError(const std::string& what)
{
    return std::runtime_error(what + ": " + std::strerror(errno));
}

// A datagram's message header with room for its IP_PKTINFO: the address a received
// datagram was sent to, or the source address to send one from.
struct TPacketInfoMessage
{
    TPacketInfoMessage(sockaddr_in& peer, void* data, std::size_t size)
        : Payload { data, size }
    {
        Header.msg_name = &peer;
        Header.msg_namelen = sizeof peer;
        Header.msg_iov = &Payload;
        Header.msg_iovlen = 1;
        Header.msg_control = Control;
        Header.msg_controllen = sizeof Control;
    }
    TPacketInfoMessage(const TPacketInfoMessage&) = delete;
    TPacketInfoMessage& operator=(const TPacketInfoMessage&) = delete;

    alignas(cmsghdr) char Control[CMSG_SPACE(sizeof(in_pktinfo))] = {};
    iovec Payload;
    msghdr Header {};
};

} // namespace

std::vector<std::uint8_t> ReplyPayload(TReplyKind kind, int webPort)
{
    const std::string port = std::to_string(webPort);
    std::string text;
    switch (kind) {
    case TReplyKind::Normal:
        text = "I am here, Port:" + port;
        break;
    case TReplyKind::NoMarker:
        text = "Port:" + port;
        break;
    case TReplyKind::LowerCase:
        text = "i am here, port:" + port;
        break;
    case TReplyKind::Prefixed:
        text = "Agent: I am here, Port:" + port;
        break;
    case TReplyKind::CrLf:
        text = "I am here, Port:" + port + "\r\n";
        break;
    case TReplyKind::EmptyPort:
        text = "I am here, Port:";
        break;
    case TReplyKind::Markup:
        text = "I am here, Port:" + port + "<font color=#FF0000><b>Agent</b></font>";
        break;
    case TReplyKind::Size8192:
    case TReplyKind::Size8193: {
        // Padding in front keeps the port text that of a plain reply.
        const std::string plain = "I am here, Port:" + port;
        const std::size_t size = kind == TReplyKind::Size8192 ? 8192 : 8193;
        text = std::string(size - plain.size(), ' ') + plain;
        break;
    }
    }
    return { text.begin(), text.end() };
}

TDiscoveryResponder::TDiscoveryResponder(const TAgentOptions& options)
    : m_options(options)
    , m_reply(ReplyPayload(options.Reply, options.WebPort))
{
    for (const auto& computer : options.Computers) {
        in_addr parsed {};
        if (inet_pton(AF_INET, computer.Address.c_str(), &parsed) != 1)
            throw std::invalid_argument("not an IPv4 address: " + computer.Address);
    }
    m_socket = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_UDP);
    if (m_socket < 0)
        throw SystemError("socket");
    // Several simulators on one host all get the broadcast.
    const int on = 1;
    ::setsockopt(m_socket, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    // Tells, for each datagram received, the address it was sent to: the broadcast address or our own.
    ::setsockopt(m_socket, IPPROTO_IP, IP_PKTINFO, &on, sizeof on);
    const int buffer = 4 * 1024 * 1024;
    ::setsockopt(m_socket, SOL_SOCKET, SO_SNDBUFFORCE, &buffer, sizeof buffer);
    sockaddr_in any {};
    any.sin_family = AF_INET;
    any.sin_port = htons(RequestPort);
    any.sin_addr.s_addr = htonl(INADDR_ANY);
    if (::bind(m_socket, reinterpret_cast<const sockaddr*>(&any), sizeof any) != 0) {
        const auto error = SystemError("bind UDP 8082");
        ::close(m_socket);
        throw error;
    }
    if (!options.RequestLog.empty()) {
        m_requestLog.open(options.RequestLog, std::ios::app);
        if (!m_requestLog)
            throw std::runtime_error("cannot write " + options.RequestLog);
    }
}

TDiscoveryResponder::~TDiscoveryResponder()
{
    ::close(m_socket);
}

void TDiscoveryResponder::Run(const std::atomic<bool>& stop)
{
    std::vector<char> buffer(65536);
    while (!stop) {
        int timeout = 200;
        const auto now = std::chrono::steady_clock::now();
        for (const auto& due : m_due)
            timeout
                = std::min<int>(timeout,
                                static_cast<int>(std::max<long>(
                                    0, std::chrono::duration_cast<std::chrono::milliseconds>(due.Due - now).count())));
        pollfd wait { m_socket, POLLIN, 0 };
        if (::poll(&wait, 1, timeout) > 0)
            Receive(buffer);
        AnswerDue();
    }
}

void TDiscoveryResponder::Receive(std::vector<char>& buffer)
{
    sockaddr_in sender {};
    TPacketInfoMessage message(sender, buffer.data(), buffer.size());
    const ssize_t length = ::recvmsg(m_socket, &message.Header, 0);
    if (length < 0)
        return;
    const std::string_view text(buffer.data(), static_cast<std::size_t>(length));
    in_addr destination {};
    for (cmsghdr* header = CMSG_FIRSTHDR(&message.Header); header; header = CMSG_NXTHDR(&message.Header, header))
        if (header->cmsg_level == IPPROTO_IP && header->cmsg_type == IP_PKTINFO)
            destination = reinterpret_cast<const in_pktinfo*>(CMSG_DATA(header))->ipi_addr;
    LogRequest(sender, destination, text);
    if (text != RequestText)
        return;
    const auto now = std::chrono::steady_clock::now();
    const auto due = now + std::chrono::milliseconds(m_options.DelayMilliseconds);
    const auto repeatUntil = m_options.EveryMilliseconds > 0 ? due + std::chrono::minutes(1) : due;
    const int answers = m_options.Twice ? 2 : 1;
    for (int i = 0; i < answers; ++i)
        m_due.push_back({ due, sender.sin_addr.s_addr, sender.sin_port, repeatUntil });
}

void TDiscoveryResponder::LogRequest(const sockaddr_in& sender, const in_addr& destination, std::string_view text)
{
    if (!m_requestLog.is_open())
        return;
    char from[INET_ADDRSTRLEN] = {};
    char to[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &sender.sin_addr, from, sizeof from);
    inet_ntop(AF_INET, &destination, to, sizeof to);
    std::string printable(text);
    for (char& c : printable)
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E)
            c = '?';
    m_requestLog << "FROM " << from << ":" << ntohs(sender.sin_port) << " TO " << to << ":" << RequestPort << " "
                 << printable << std::endl;
}

void TDiscoveryResponder::AnswerDue()
{
    const auto now = std::chrono::steady_clock::now();
    std::vector<TDueReply> later;
    for (auto due : m_due) {
        if (due.Due > now) {
            later.push_back(due);
            continue;
        }
        Answer(due.Address, due.Port);
        due.Due += std::chrono::milliseconds(m_options.EveryMilliseconds);
        if (m_options.EveryMilliseconds > 0 && due.Due < due.RepeatUntil)
            later.push_back(due);
    }
    m_due = std::move(later);
}

void TDiscoveryResponder::Answer(std::uint32_t address, std::uint16_t port)
{
    sockaddr_in target {};
    target.sin_family = AF_INET;
    target.sin_addr.s_addr = address;
    target.sin_port = port;
    for (const auto& computer : m_options.Computers) {
        // IP_PKTINFO picks the source address per datagram, so one socket speaks for every computer.
        TPacketInfoMessage message(target, m_reply.data(), m_reply.size());
        cmsghdr* header = CMSG_FIRSTHDR(&message.Header);
        header->cmsg_level = IPPROTO_IP;
        header->cmsg_type = IP_PKTINFO;
        header->cmsg_len = CMSG_LEN(sizeof(in_pktinfo));
        in_pktinfo info {};
        inet_pton(AF_INET, computer.Address.c_str(), &info.ipi_spec_dst);
        std::memcpy(CMSG_DATA(header), &info, sizeof info);
        ::sendmsg(m_socket, &message.Header, 0);
    }
}
