#include "list/TextCodec.h"

#include "FakeCodePage.h"
#include "platform/OstrelError.h"

#include <gtest/gtest.h>

namespace {

// A code page that is UTF-8 itself, as on Linux.
class TUtf8Page : public TFakeCodePage
{
public:
    unsigned Number() const override { return Utf8; }
};

const TFakeCodePage Latin1;
const TUtf8Page Utf8Page;

std::string Bytes(std::initializer_list<unsigned char> bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

struct TDecodeCase
{
    const char* Name;
    std::string Bytes;
    std::string Text;
    TTextEncoding Encoding;
};

// GoogleTest names the case in its output instead of dumping its bytes.
void PrintTo(const TDecodeCase& row, std::ostream* out)
{
    *out << row.Name;
}

const TDecodeCase DecodeCases[] = {
    { "Empty", "", "", TTextEncoding::Ansi },
    { "AnsiThroughCodePage", Bytes({ 'B', 0xDC, 'R', 'O' }), "BÜRO", TTextEncoding::Ansi },
    { "Utf8MarkOnly", Bytes({ 0xEF, 0xBB, 0xBF }), "", TTextEncoding::Utf8 },
    { "Utf8", Bytes({ 0xEF, 0xBB, 0xBF, 'B', 0xC3, 0x9C, 0xF0, 0x9F, 0x98, 0x80 }), "BÜ😀", TTextEncoding::Utf8 },
    { "Utf16LEMarkOnly", Bytes({ 0xFF, 0xFE }), "", TTextEncoding::Utf16LE },
    { "Utf16LE", Bytes({ 0xFF, 0xFE, 'A', 0, 0xDC, 0 }), "AÜ", TTextEncoding::Utf16LE },
    { "Utf16BE", Bytes({ 0xFE, 0xFF, 0, 'A', 0, 0xDC }), "AÜ", TTextEncoding::Utf16BE },
    { "Utf16SurrogatePair", Bytes({ 0xFF, 0xFE, 0x3D, 0xD8, 0x00, 0xDE }), "😀", TTextEncoding::Utf16LE },
    { "Utf16LoneSurrogate", Bytes({ 0xFF, 0xFE, 0x3D, 0xD8, 'A', 0 }),
      "\xEF\xBF\xBD"
      "A",
      TTextEncoding::Utf16LE },
    { "Utf16OddLastByteIgnored", Bytes({ 0xFF, 0xFE, 'A', 0, 'B' }), "A", TTextEncoding::Utf16LE },
    { "Utf16KeepsNul", Bytes({ 0xFE, 0xFF, 0, 'A', 0, 0, 0, 'B' }), std::string("A\0B", 3), TTextEncoding::Utf16BE },
    { "MarkPrefixOnlyIsAnsi", Bytes({ 0xEF, 0xBB }), "ï»", TTextEncoding::Ansi },
};

class DecodeTest : public testing::TestWithParam<TDecodeCase>
{
};

TEST_P(DecodeTest, GivesTextAndEncoding)
{
    const TDecodedText decoded(GetParam().Bytes, Latin1);
    EXPECT_EQ(decoded.Text(), GetParam().Text);
    EXPECT_EQ(decoded.Encoding(), GetParam().Encoding);
}

INSTANTIATE_TEST_SUITE_P(Files, DecodeTest, testing::ValuesIn(DecodeCases),
                         [](const testing::TestParamInfo<TDecodeCase>& row) { return std::string(row.param.Name); });

struct TBadCase
{
    const char* Name;
    std::string Bytes;
};

void PrintTo(const TBadCase& row, std::ostream* out)
{
    *out << row.Name;
}

const TBadCase BadCases[] = {
    { "Utf16LEOneByte", Bytes({ 0xFF, 0xFE, 'A' }) },
    { "Utf16BEOneByte", Bytes({ 0xFE, 0xFF, 0 }) },
    { "Utf8StrayContinuation", Bytes({ 0xEF, 0xBB, 0xBF, 0x80 }) },
    { "Utf8Truncated", Bytes({ 0xEF, 0xBB, 0xBF, 'a', 0xC3 }) },
    { "Utf8Overlong", Bytes({ 0xEF, 0xBB, 0xBF, 0xC0, 0xAF }) },
    { "Utf8OverlongThreeBytes", Bytes({ 0xEF, 0xBB, 0xBF, 0xE0, 0x80, 0xAF }) },
    { "Utf8Surrogate", Bytes({ 0xEF, 0xBB, 0xBF, 0xED, 0xA0, 0x80 }) },
    { "Utf8AboveUnicode", Bytes({ 0xEF, 0xBB, 0xBF, 0xF4, 0x90, 0x80, 0x80 }) },
    { "Utf8InvalidLead", Bytes({ 0xEF, 0xBB, 0xBF, 0xFF }) },
    { "Utf8InvalidAfterNul", Bytes({ 0xEF, 0xBB, 0xBF, 'a', 0, 0xFF }) },
};

class DecodeErrorTest : public testing::TestWithParam<TBadCase>
{
};

TEST_P(DecodeErrorTest, RaisesNoMapping)
{
    try {
        const TDecodedText decoded(GetParam().Bytes, Latin1);
        FAIL() << "no error";
    } catch (const EOstrelError& error) {
        EXPECT_STREQ(error.what(), "No mapping for the Unicode character exists in the target multi-byte code page");
    }
}

INSTANTIATE_TEST_SUITE_P(Files, DecodeErrorTest, testing::ValuesIn(BadCases),
                         [](const testing::TestParamInfo<TBadCase>& row) { return std::string(row.param.Name); });

TEST(TextCodecTest, EveryEncodingRoundTrips)
{
    const std::string text = "[0]\r\nName=Büro-PC ünd 😀 \xE4\xB8\xAD:8080\r\n";
    for (auto encoding : { TTextEncoding::Utf8, TTextEncoding::Utf16LE, TTextEncoding::Utf16BE }) {
        const auto bytes = EncodeText(text, encoding, Latin1);
        const TDecodedText decoded(bytes, Latin1);
        EXPECT_EQ(decoded.Text(), text);
        EXPECT_EQ(decoded.Encoding(), encoding);
    }
    const std::string latin1Text = "Name=Büro:8080";
    const auto bytes = EncodeText(latin1Text, TTextEncoding::Ansi, Latin1);
    const TDecodedText decoded(bytes, Latin1);
    EXPECT_EQ(decoded.Text(), latin1Text);
    EXPECT_EQ(decoded.Encoding(), TTextEncoding::Ansi);
}

TEST(TextCodecTest, EncodingWritesMarkThenText)
{
    EXPECT_EQ(EncodeText("A", TTextEncoding::Utf8, Latin1), Bytes({ 0xEF, 0xBB, 0xBF, 'A' }));
    EXPECT_EQ(EncodeText("A", TTextEncoding::Utf16LE, Latin1), Bytes({ 0xFF, 0xFE, 'A', 0 }));
    EXPECT_EQ(EncodeText("A", TTextEncoding::Utf16BE, Latin1), Bytes({ 0xFE, 0xFF, 0, 'A' }));
    EXPECT_EQ(EncodeText("Ü", TTextEncoding::Ansi, Latin1), Bytes({ 0xDC }));
}

TEST(TextCodecTest, AnsiOnUtf8CodePageIsUtf8WithMark)
{
    EXPECT_EQ(EncodeText("Ü", TTextEncoding::Ansi, Utf8Page), Bytes({ 0xEF, 0xBB, 0xBF, 0xC3, 0x9C }));
    EXPECT_EQ(TDecodedText(Bytes({ 'B', 0xC3, 0x9C }), Utf8Page).Text(), "BÜ");
}

TEST(TextCodecTest, TextTheCodePageLacksIsWrittenWholeAsUtf8)
{
    const std::string text = "Name=Büro\r\nName=中\r\n";
    const auto bytes = EncodeText(text, TTextEncoding::Ansi, Latin1);
    EXPECT_EQ(bytes.substr(0, 3), Bytes({ 0xEF, 0xBB, 0xBF }));
    EXPECT_EQ(TDecodedText(bytes, Latin1).Text(), text);
}

TEST(TextCodecTest, InvalidUtf8IsWrittenSoTheFileReadsBack)
{
    const std::string text = Bytes({ 'a', 0xFF, 'b', 0xE4, 0xB8 });
    for (auto encoding : { TTextEncoding::Utf8, TTextEncoding::Utf16LE, TTextEncoding::Ansi }) {
        const auto bytes = EncodeText(text, encoding, Utf8Page);
        const TDecodedText decoded(bytes, Utf8Page);
        EXPECT_EQ(decoded.Text(),
                  "a\xEF\xBF\xBD"
                  "b\xEF\xBF\xBD");
    }
}

} // namespace
