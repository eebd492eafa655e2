#include "list/ListFile.h"

#include "FakeControls.h"
#include "FakeFileSystem.h"
#include "list/ComputerList.h"
#include "list/ListMerge.h"
#include "platform/OstrelError.h"

#include <gtest/gtest.h>

namespace {

const std::string ListPath = "/data/Mervane/list.dat";

class ListFileTest : public testing::Test
{
public:
    TFakeListBox Rows { TControlDecl {} };
    TComputerList List { Rows };
    TFakeFileSystem Files;
    TMergeBase Base;

    std::vector<std::string> Load(const std::string& content)
    {
        Files.Folders.insert("/data/Mervane");
        Files.Files[ListPath] = content;
        LoadList(List, Files, Base);
        return Texts();
    }

    std::vector<std::string> Texts() const
    {
        std::vector<std::string> texts;
        for (int i = 0; i < List.Count(); ++i)
            texts.push_back(List.Text(i));
        return texts;
    }

    std::string SaveOf(std::initializer_list<std::string> texts)
    {
        for (const auto& text : texts)
            List.Append(text, std::nullopt);
        SaveList(List, Files, Base);
        return Files.Files.at(ListPath);
    }

    std::string ErrorOf(void (*operation)(ListFileTest&))
    {
        try {
            operation(*this);
        } catch (const EOstrelError& error) {
            return error.what();
        }
        return "(no error)";
    }
};

using TTexts = std::vector<std::string>;

TEST_F(ListFileTest, SavesTheWorkedExampleByteForByte)
{
    const std::string expected = "[General]\r\nComputers=2\r\n\r\n"
                                 "[0]\r\nName=John-PC:8080\r\n\r\n"
                                 "[1]\r\nName=Accounts-PC:8081\r\n\r\n";
    const auto bytes = SaveOf({ "John-PC:8080", "Accounts-PC:8081" });
    EXPECT_EQ(bytes.size(), 82u);
    EXPECT_EQ(bytes, expected);
}

TEST_F(ListFileTest, SavesEmptyListInTwentySixBytes)
{
    EXPECT_EQ(SaveOf({}), "[General]\r\nComputers=0\r\n\r\n");
}

TEST_F(ListFileTest, SaveOnUtf8CodePageBeginsWithMark)
{
    class TUtf8Page : public TFakeCodePage
    {
    public:
        unsigned Number() const override { return Utf8; }
    } utf8Page;
    Files.CodePage = &utf8Page;
    const auto bytes = SaveOf({ "John-PC:8080", "Accounts-PC:8081" });
    EXPECT_EQ(bytes.size(), 85u);
    EXPECT_EQ(bytes.substr(0, 4), "\xEF\xBB\xBF[");
}

TEST_F(ListFileTest, SaveKeepsTheEncodingOfTheReplacedFile)
{
    Files.Folders.insert("/data/Mervane");
    for (const std::string mark : { "\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF" }) {
        // Each round is a copy of its own that finds the file empty.
        Files.Files[ListPath] = mark;
        Base = {};
        List.Append("Büro:1", std::nullopt);
        SaveList(List, Files, Base);
        List.Delete(0);
        ASSERT_TRUE(Files.Files[ListPath].starts_with(mark));
        LoadList(List, Files, Base);
        EXPECT_EQ(Texts(), TTexts { "Büro:1" });
        List.Delete(0);
    }
}

TEST_F(ListFileTest, LoadMakesOfflineEntriesInSectionOrder)
{
    EXPECT_EQ(Load("[General]\nComputers=3\n[2]\nName=c\n[1]\nName=b\n[0]\nName=a\n"), (TTexts { "a", "b", "c" }));
    for (int i = 0; i < 3; ++i) {
        ASSERT_NE(List.Status(i), nullptr);
        EXPECT_FALSE(List.Status(i)->Online);
    }
}

struct TLoadCase
{
    const char* Name;
    std::string Content;
    TTexts Expected;
};

// GoogleTest names the case in its output instead of dumping its bytes.
void PrintTo(const TLoadCase& row, std::ostream* out)
{
    *out << row.Name;
}

const TLoadCase LoadCases[] = {
    { "ZeroBytes", "", {} },
    { "MarkOnly", "\xEF\xBB\xBF", {} },
    { "CountMissing", "[General]\n[0]\nName=a\n", {} },
    { "CountEmpty", "[General]\nComputers=\n[0]\nName=a\n", {} },
    { "CountNegative", "[General]\nComputers=-1\n[0]\nName=a\n", {} },
    { "CountNotANumber", "[General]\nComputers=two\n[0]\nName=a\n", {} },
    { "CountInHex", "[General]\nComputers=$2\n[0]\nName=a\n[1]\nName=b\n", { "a", "b" } },
    { "GapsSkipped", "[General]\nComputers=3\n[0]\nName=a\n[2]\nName=c\n", { "a", "c" } },
    { "SectionsBeyondCountIgnored", "[General]\nComputers=1\n[0]\nName=a\n[1]\nName=b\n", { "a" } },
    { "OtherCaseFound", "[general]\nCOMPUTERS=1\n[ 0 ]\n name = a \n", { "a" } },
    { "EmptyNameMakesNoEntry", "[General]\nComputers=2\n[0]\nName=\n[1]\nName=b\n", { "b" } },
    { "FirstOfTwoSectionsConsulted", "[General]\nComputers=1\n[0]\nOther=x\n[0]\nName=a\n", {} },
    { "DuplicatesKept", "[General]\nComputers=2\n[0]\nName=a\n[1]\nName=a\n", { "a", "a" } },
    { "NotPlainDecimalNamesNoEntry", "[General]\nComputers=2\n[00]\nName=a\n[+1]\nName=b\n", {} },
    { "NulEndsFile", std::string("[General]\nComputers=2\n[0]\nName=a\n\0[1]\nName=b\n", 45), { "a" } },
    { "RemarkKept", "[General]\nComputers=1\n[0]\n;Name=x\nName=a ; b\n", { "a ; b" } },
    { "HugeCountLoadsWhatExists", "[General]\nComputers=2147483647\n[5]\nName=a\n", { "a" } },
    { "LoneCarriageReturnsEndLines", "[General]\rComputers=1\r[0]\rName=a\r", { "a" } },
    { "NoFinalLineEnd", "[General]\r\nComputers=1\r\n[0]\r\nName=a", { "a" } },
    { "CarriageReturnBeforeLineEndIsAnEmptyLine", "[General]\r\r\nComputers=1\r\r\n[0]\r\r\nName=a\r\r\n", { "a" } },
    { "ControlCodesTrimmedAroundNamesKeysAndValues",
      "\x01[ \tGeneral\x1f]\nComputers\x02=\x03"
      "1\n[0]\n\x04Name\t=\x7f a\x05 \n",
      { "\x7f a" } },
    { "FurtherEqualsBelongToTheText", "[General]\nComputers=1\n[0]\nName=a=b=\n", { "a=b=" } },
    { "FirstNameOfSectionWins", "[General]\nComputers=1\n[0]\nName=a\nName=b\n", { "a" } },
    { "LineWithoutEqualsNamesNoKey", "[General]\nComputers=1\n[0]\nName\nName=a\n", { "a" } },
    { "FirstGeneralSectionConsulted", "[General]\nOther=1\n[GENERAL]\nComputers=1\n[0]\nName=a\n", {} },
    { "FirstCountWins", "[General]\nComputers=1\nComputers=2\n[0]\nName=a\n[1]\nName=b\n", { "a" } },
    { "CountAfterTheEntries", "[0]\nName=a\n[1]\nName=b\n[General]\nComputers=2\n", { "a", "b" } },
    { "LinesBeforeFirstSectionDropped", "Computers=1\n[General]\n[0]\nName=a\n", {} },
    { "HeaderWithTrailingTextIsAnOrdinaryLine", "[General]\nComputers=2\n[0]\nName=a\n[1] x=y\nName=b\n", { "a" } },
    { "UnicodeCaseOfKeysIgnored", "\xEF\xBB\xBF[General]\nCOMPUTER\xC5\xBF=1\n[0]\nName=a\n", { "a" } },
    { "NulCutsTheLine", std::string("[General]\nComputers=1\n[0]\nName=ab\0cd\n", 37), { "ab" } },
    { "NulAfterUtf8MarkEndsText",
      std::string("\xEF\xBB\xBF[General]\nComputers=2\n[0]\nName=a\n\0[1]\nName=b\n", 48),
      { "a" } },
    { "Utf16LittleEndian",
      std::string("\xFF\xFE[\0G\0e\0n\0e\0r\0a\0l\0]\0\n\0C\0o\0m\0p\0u\0t\0e\0r\0s\0=\0"
                  "1\0\n\0[\0"
                  "0\0]\0\n\0N\0a\0m\0e\0=\0\xFC\0\n\0",
                  68),
      { "\xC3\xBC" } },
};

class ListFileLoadTest : public ListFileTest, public testing::WithParamInterface<TLoadCase>
{
};

TEST_P(ListFileLoadTest, YieldsEntries)
{
    EXPECT_EQ(Load(GetParam().Content), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Files, ListFileLoadTest, testing::ValuesIn(LoadCases),
                         [](const testing::TestParamInfo<TLoadCase>& row) { return std::string(row.param.Name); });

TEST_F(ListFileTest, TextsComeBackAsTheFileCanHoldThem)
{
    SaveOf({ "  spaced  ", "a=b", std::string("cut\rhere"), "line\nbreak", std::string("nul\0after", 9), "", "z" });
    LoadList(List, Files, Base);
    const auto all = Texts();
    const TTexts loaded(all.begin() + 7, all.end());
    EXPECT_EQ(loaded, (TTexts { "spaced", "a=b", "cut", "line", "nul", "z" }));
}

TEST_F(ListFileTest, EntryTextCannotInjectSections)
{
    const auto bytes = SaveOf({ "evil\r\n[1]\r\nName=injected", "good" });
    EXPECT_EQ(bytes, "[General]\r\nComputers=2\r\n\r\n[0]\r\nName=evil\r\n\r\n[1]\r\nName=good\r\n\r\n");
}

TEST_F(ListFileTest, TypedEntryIsMarkedOnlineAfterRestart)
{
    List.Append("http://pc1:8080", std::nullopt);
    List.MergeDiscovered("http://PC1:8080");
    EXPECT_EQ(List.Count(), 1);
    SaveList(List, Files, Base);
    List.Delete(0);

    LoadList(List, Files, Base);
    List.MergeDiscovered("http://PC1:8080");
    ASSERT_EQ(List.Count(), 1);
    EXPECT_TRUE(List.Status(0)->Online);
}

TEST_F(ListFileTest, LoadCreatesMissingSharedFolder)
{
    LoadList(List, Files, Base);
    EXPECT_EQ(List.Count(), 0);
    EXPECT_TRUE(Files.Folders.contains("/data/Mervane"));
    EXPECT_EQ(GetDataFolder(Files, "/Mervane"), "/data/Mervane");
    EXPECT_EQ(Files.CreatedFolders, 1);
}

TEST_F(ListFileTest, DataFolderIsEmptyWhenItCannotBeHad)
{
    Files.CanCreateFolders = false;
    EXPECT_EQ(GetDataFolder(Files, "/Mervane"), "");
    Files.CanCreateFolders = true;
    Files.Files["/data/Mervane"] = "a file in the folder's place";
    EXPECT_EQ(GetDataFolder(Files, "/Mervane"), "");
    Files.BaseFolder.clear();
    EXPECT_EQ(GetDataFolder(Files, "/Mervane"), "");
}

TEST_F(ListFileTest, WithoutSharedFolderLoadIsEmptyAndSaveFails)
{
    Files.CanCreateFolders = false;
    Files.Files["/list.dat"] = "[General]\nComputers=1\n[0]\nName=root\n";
    LoadList(List, Files, Base);
    EXPECT_EQ(List.Count(), 0);

    EXPECT_EQ(ErrorOf([](ListFileTest& test) { test.SaveOf({ "a" }); }),
              "Cannot create file \"/data/Mervane/list.dat\". System error 2");
    EXPECT_EQ(Files.Files.size(), 1u);
}

TEST_F(ListFileTest, WithoutAllUsersFolderSaveFailsAndWritesNothing)
{
    Files.BaseFolder.clear();
    EXPECT_EQ(ErrorOf([](ListFileTest& test) { test.SaveOf({ "a" }); }),
              "Cannot create file \"/Mervane/list.dat\". The folder for the data of all users cannot be found");
    EXPECT_TRUE(Files.Files.empty());
}

TEST_F(ListFileTest, ReportsFileErrorsWithPathAndSystemText)
{
    const auto load = [](ListFileTest& test) { LoadList(test.List, test.Files, test.Base); };
    const auto save = [](ListFileTest& test) { SaveList(test.List, test.Files, test.Base); };
    Files.Folders.insert("/data/Mervane");
    Files.Files[ListPath] = "[General]\nComputers=1\n[0]\nName=kept\n";

    Files.ReadError = 13;
    EXPECT_EQ(ErrorOf(load), "Cannot open file \"/data/Mervane/list.dat\". System error 13");
    EXPECT_EQ(ErrorOf(save), "Cannot open file \"/data/Mervane/list.dat\". System error 13");
    Files.ReadError = 0;

    Files.WriteResult = { TFileWriteFailure::Create, 5 };
    EXPECT_EQ(ErrorOf(save), "Cannot create file \"/data/Mervane/list.dat\". System error 5");
    Files.WriteResult = { TFileWriteFailure::Write, 28 };
    EXPECT_EQ(ErrorOf(save), "Stream write error");

    EXPECT_EQ(List.Count(), 0);
    EXPECT_EQ(Files.Files[ListPath], "[General]\nComputers=1\n[0]\nName=kept\n");
}

TEST_F(ListFileTest, UndecodableFileAppendsNothingAndIsNotOverwritten)
{
    const std::string bad = "\xEF\xBB\xBF[General]\nComputers=1\n[0]\nName=\xFF\n";
    const std::string noMapping = "No mapping for the Unicode character exists in the target multi-byte code page";
    EXPECT_EQ(ErrorOf([](ListFileTest& test) { test.Load("\xEF\xBB\xBF[General]\nComputers=1\n[0]\nName=\xFF\n"); }),
              noMapping);
    EXPECT_EQ(List.Count(), 0);
    EXPECT_EQ(ErrorOf([](ListFileTest& test) { SaveList(test.List, test.Files, test.Base); }), noMapping);
    EXPECT_EQ(Files.Files[ListPath], bad);
}

TEST_F(ListFileTest, LongFileIsReadUpToItsNulOrRefusedAndKept)
{
    const auto load = [](ListFileTest& test) { LoadList(test.List, test.Files, test.Base); };
    const auto save = [](ListFileTest& test) { SaveList(test.List, test.Files, test.Base); };
    const std::string list = "[General]\r\nComputers=1\r\n[0]\r\nName=kept\r\n";
    const std::size_t beyondLimit = 64 * 1024 * 1024 + 1;

    EXPECT_EQ(Load(list + std::string(beyondLimit, '\0')), (TTexts { "kept" }));
    EXPECT_EQ(SaveOf({ "added" }), "[General]\r\nComputers=2\r\n\r\n[0]\r\nName=kept\r\n\r\n[1]\r\nName=added\r\n\r\n");

    const std::string junk = list + std::string(beyondLimit, 'x');
    Files.Files[ListPath] = junk;
    const std::string tooLarge = "Cannot open file \"/data/Mervane/list.dat\". System error 27";
    EXPECT_EQ(ErrorOf(load), tooLarge);
    EXPECT_EQ(ErrorOf(save), tooLarge);
    EXPECT_EQ(Files.Files[ListPath], junk);
}

// Notes whether a save held its lock whenever it read or replaced the file.
class TLockNotingFileSystem : public TFakeFileSystem
{
public:
    TFileReadResult ReadFile(const std::string& path, std::size_t limit) override
    {
        LockedAt.push_back(SaveLocksHeld);
        return TFakeFileSystem::ReadFile(path, limit);
    }
    TFileWriteResult ReplaceFile(const std::string& path, std::string_view bytes) override
    {
        LockedAt.push_back(SaveLocksHeld);
        return TFakeFileSystem::ReplaceFile(path, bytes);
    }

    std::vector<int> LockedAt;
};

TEST(ListFileSaveLockTest, SaveReadsAndReplacesUnderOneLockOrFailsWithoutTouchingTheFile)
{
    TFakeListBox rows { TControlDecl {} };
    TComputerList list { rows };
    TLockNotingFileSystem files;
    TMergeBase base;
    files.Folders.insert("/data/Mervane");
    files.Files[ListPath] = "[General]\r\nComputers=0\r\n\r\n";
    list.Append("a", std::nullopt);

    SaveList(list, files, base);
    EXPECT_EQ(files.LockedAt, (std::vector<int> { 1, 1 }));
    EXPECT_EQ(files.SaveLocksHeld, 0);

    files.SaveLockError = 11;
    list.Append("b", std::nullopt);
    try {
        SaveList(list, files, base);
        ADD_FAILURE() << "a save went on without its lock";
    } catch (const EOstrelError& error) {
        EXPECT_STREQ(error.what(), "Cannot open file \"/data/Mervane/list.dat\". System error 11");
    }
    EXPECT_EQ(files.Files[ListPath], "[General]\r\nComputers=1\r\n\r\n[0]\r\nName=a\r\n\r\n");
}

} // namespace
