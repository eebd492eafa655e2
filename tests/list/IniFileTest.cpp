#include "list/IniFile.h"

#include <gtest/gtest.h>

namespace {

struct TReadCase
{
    const char* Name;
    std::string Text;
    const char* Section;
    const char* Key;
    const char* Expected;
};

// GoogleTest names the case in its output instead of dumping its bytes.
void PrintTo(const TReadCase& row, std::ostream* out)
{
    *out << row.Name;
}

const TReadCase ReadCases[] = {
    { "Plain", "[S]\r\nk=v\r\n", "S", "k", "v" },
    { "LoneLineFeeds", "[S]\nk=v\n", "S", "k", "v" },
    { "LoneCarriageReturns", "[S]\rk=v\r", "S", "k", "v" },
    { "NoFinalLineEnd", "[S]\r\nk=v", "S", "k", "v" },
    { "SectionCaseIgnored", "[general]\nk=v", "General", "k", "v" },
    { "KeyCaseIgnored", "[S]\nCOMPUTERS=3", "S", "computers", "3" },
    { "UnicodeCaseIgnored", "[BÜRO]\nNAME=v", "büro", "name", "v" },
    { "SpacesAroundNameAndEquals", "[  S \t]\n  k   =   v  \n", "S", "k", "v" },
    { "ControlCharactersTrimmed", "[S]\n\x01k\x1f=\x7fv\x02\n", "S", "k", "\x7fv" },
    { "FurtherEqualsBelongToValue", "[S]\nk=a=b=\n", "S", "k", "a=b=" },
    { "SemicolonAfterTextIsValue", "[S]\nk=v ; remark\n", "S", "k", "v ; remark" },
    { "SemicolonLineSkipped", "[S]\n;k=x\nk=v\n", "S", "k", "v" },
    { "HashIsText", "[S]\n#k=v\n", "S", "#k", "v" },
    { "FirstKeyWins", "[S]\nk=1\nk=2\n", "S", "k", "1" },
    { "FirstSectionWins", "[S]\nj=1\n[S]\nk=2\n", "S", "k", "(default)" },
    { "LinesBeforeFirstSectionDropped", "k=v\n[S]\n", "S", "k", "(default)" },
    { "HeaderWithTrailingTextIsOrdinaryLine", "[S]\n[T] x=1\n", "S", "[T] x", "1" },
    { "HeaderWithTrailingTextStartsNoSection", "[S]\n[T] x=1\n", "T", "[T] x", "(default)" },
    { "EmptyValue", "[S]\nk=\n", "S", "k", "" },
    { "EmptySectionName", "[]\nk=v\n", "", "k", "v" },
    { "NulEndsText", std::string("[S]\nk=v\n\0[T]\nk=w\n", 17), "T", "k", "(default)" },
    { "NulCutsLine", std::string("[S]\nk=ab\0cd\n", 12), "S", "k", "ab" },
    { "LineWithoutEqualsNamesNoKey", "[S]\nk\n", "S", "k", "(default)" },
    { "EmptyKey", "[S]\n=v\n", "S", "", "v" },
    { "MissingSection", "[S]\nk=v\n", "T", "k", "(default)" },
};

class IniReadTest : public testing::TestWithParam<TReadCase>
{
};

TEST_P(IniReadTest, FindsTheValue)
{
    const auto& param = GetParam();
    EXPECT_EQ(TIniFile::Parse(param.Text).ReadText(param.Section, param.Key, "(default)"), param.Expected);
}

INSTANTIATE_TEST_SUITE_P(Texts, IniReadTest, testing::ValuesIn(ReadCases),
                         [](const testing::TestParamInfo<TReadCase>& row) { return std::string(row.param.Name); });

TEST(IniFileTest, ParseKeepsSectionsAndLinesInOrder)
{
    const auto ini = TIniFile::Parse("[A]\r\nx=1\r\nfree text\r\n\r\n[B]\r\n[A]\r\ny=2\r\n");
    EXPECT_EQ(ini.Serialise(), "[A]\r\nx=1\r\nfree text\r\n\r\n[B]\r\n\r\n[A]\r\ny=2\r\n\r\n");
}

TEST(IniFileTest, WriteReplacesFirstKeyOrAppendsLineAndSection)
{
    auto ini = TIniFile::Parse("[s]\nK=1\nk=2\n");
    ini.WriteText("S", "k", "3");
    ini.WriteText("S", "new", "4");
    ini.WriteWholeNumber("Other", "n", -12);
    EXPECT_EQ(ini.Serialise(), "[s]\r\nk=3\r\nk=2\r\nnew=4\r\n\r\n[Other]\r\nn=-12\r\n\r\n");
}

TEST(IniFileTest, ClearForgetsSectionsForLaterLookups)
{
    auto ini = TIniFile::Parse("[S]\nk=v\n");
    ini.Clear();
    EXPECT_EQ(ini.ReadText("S", "k", "none"), "none");
    EXPECT_EQ(ini.Serialise(), "");
    ini.WriteText("S", "k", "w");
    EXPECT_EQ(ini.ReadText("s", "K", ""), "w");
}

TEST(IniFileTest, ReadWholeNumberUsesDefaultForUnusableValue)
{
    const auto ini = TIniFile::Parse("[G]\na=0x10\nb=ten\n");
    EXPECT_EQ(ini.ReadWholeNumber("G", "a", 5), 16);
    EXPECT_EQ(ini.ReadWholeNumber("G", "b", 5), 5);
    EXPECT_EQ(ini.ReadWholeNumber("G", "missing", 5), 5);
}

TEST(IniFileTest, LookupsFindTheirSectionAmongMany)
{
    TIniFile ini;
    // Names that differ only in letters share a case-free key; the numbers spread the rest.
    const std::vector<std::string> letterNames { "ab", "ba", "AB", "Übung", "übung", "x" };
    for (int i = 0; i < 2000; ++i)
        ini.WriteText("Section" + std::to_string(i), "k", std::to_string(i));
    for (const auto& name : letterNames)
        ini.WriteText(name, "k", name);

    EXPECT_EQ(ini.ReadText("SECTION0", "K", ""), "0");
    EXPECT_EQ(ini.ReadText("section1999", "k", ""), "1999");
    EXPECT_EQ(ini.ReadText("section2000", "k", "none"), "none");
    EXPECT_EQ(ini.ReadText("BA", "k", ""), "ba");
    EXPECT_EQ(ini.ReadText("Ab", "k", ""), "AB") << "writing to an equal name changes the first section";
    EXPECT_EQ(ini.ReadText("ÜBUNG", "k", ""), "übung");
    EXPECT_EQ(ini.ReadText("y", "k", "none"), "none");
    EXPECT_EQ(ini.Sections().size(), 2004u);
}

} // namespace
