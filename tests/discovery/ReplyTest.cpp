#include "discovery/Reply.h"

#include "discovery/AsciiCodec.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace {

std::vector<std::uint8_t> Bytes(std::string_view text)
{
    return { text.begin(), text.end() };
}

struct TReplyCase
{
    const char* Name;
    std::string Payload;
    std::string Sender;
    std::optional<std::string> SenderName;
    std::optional<std::string> Expected;
};

// GoogleTest names the case in its output instead of dumping its bytes.
void PrintTo(const TReplyCase& row, std::ostream* out)
{
    *out << row.Name;
}

class ReplyRules : public testing::TestWithParam<TReplyCase>
{
};

TEST_P(ReplyRules, FormAddressFromPayloadAndSenderName)
{
    const auto& row = GetParam();
    const TReceivedDatagram datagram { Bytes(row.Payload), row.Sender, row.SenderName };
    EXPECT_EQ(DiscoveredAddress(datagram), row.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, ReplyRules,
    testing::Values(
        TReplyCase { "MarkerAndPort", "I am here, Port:8080", "192.168.1.20", "PC1", "http://PC1:8080" },
        TReplyCase { "NameKeepsItsCase", "I am here, Port:8080", "192.168.1.20", "Pc1.Lan", "http://Pc1.Lan:8080" },
        TReplyCase { "PortTextStartsAtFirstColonOfWholeText", "Agent: I am here, Port:8080", "10.0.0.2", "PC1",
                     "http://PC1: I am here, Port:8080" },
        TReplyCase { "PortTextIsUntrimmed", "I am here, Port: 8080\r\n", "10.0.0.2", "PC1", "http://PC1: 8080\r\n" },
        TReplyCase { "EmptyPortText", "I am here, Port:", "10.0.0.2", "PC1", "http://PC1:" },
        TReplyCase { "MarkerInsideLongerText", "xI am here, Port:1y", "10.0.0.2", "PC1", "http://PC1:1y" },
        TReplyCase { "LowerCaseMarkerIgnored", "i am here, port:8080", "10.0.0.2", "PC1", std::nullopt },
        TReplyCase { "NoMarker", "Port:8080", "10.0.0.2", "PC1", std::nullopt },
        TReplyCase { "OwnRequestIgnored", "Hello, KVD", "10.0.0.2", "PC1", std::nullopt },
        TReplyCase { "EmptyPayloadIgnored", "", "10.0.0.2", "PC1", std::nullopt },
        TReplyCase { "SenderWithoutNameDropped", "I am here, Port:8080", "10.0.0.2", std::nullopt, std::nullopt },
        TReplyCase { "IPv6SenderDropped", "I am here, Port:8080", "fe80::1", "PC1", std::nullopt },
        TReplyCase { "HighByteBecomesReplacementCharacter", "I am here, Port:80\xE9", "10.0.0.2", "PC1",
                     "http://PC1:80\xEF\xBF\xBD" },
        TReplyCase { "ZeroByteKept",
                     std::string("I am here, Port:8\0"
                                 "0",
                                 19),
                     "10.0.0.2", "PC1",
                     std::string("http://PC1:8\0"
                                 "0",
                                 14) },
        TReplyCase { "MarkerBrokenByHighByteIgnored", "I am here,\xA0Port:8080", "10.0.0.2", "PC1", std::nullopt }),
    [](const auto& row) { return std::string(row.param.Name); });

TEST(ReplyRules, NameLookedUpOnlyForIPv4RepliesWithMarker)
{
    EXPECT_TRUE(NeedsSenderName({ Bytes("I am here, Port:80"), "10.0.0.2", std::nullopt }));
    EXPECT_FALSE(NeedsSenderName({ Bytes("I am here, Port:80"), "::1", std::nullopt }));
    EXPECT_FALSE(NeedsSenderName({ Bytes("I AM HERE, PORT:80"), "10.0.0.2", std::nullopt }));
    EXPECT_FALSE(NeedsSenderName({ {}, "10.0.0.2", std::nullopt }));
}

TEST(AsciiCodec, DecodeMapsEveryHighByteToReplacementCharacter)
{
    const std::vector<std::uint8_t> bytes { 'A', 0x7F, 0x80, 0xE9, 0xFF, 0x00 };
    EXPECT_EQ(DecodeAscii(bytes), std::string("A\x7F\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\0", 12));
}

TEST(AsciiCodec, EncodeGivesOneQuestionMarkPerUtf16CodeUnit)
{
    struct TRow
    {
        const char* Text;
        std::string Expected;
    };
    const TRow rows[] = {
        { "Hello, KVD", "Hello, KVD" },
        { "caf\xC3\xA9", "caf?" }, // two UTF-8 bytes, one code unit
        { "\xE2\x82\xAC!", "?!" }, // three bytes, one code unit
        { "\xF0\x9F\x98\x80", "??" }, // outside the BMP: a surrogate pair
        { "a\xFF"
          "b",
          "a?b" }, // a byte that starts no sequence
        { "\xE2\x82", "??" }, // cut sequence: one per byte
    };
    for (const auto& row : rows) {
        const auto bytes = EncodeAscii(row.Text);
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()), row.Expected) << row.Text;
    }
}

} // namespace
