#include "list/ListMerge.h"

#include "FakeControls.h"
#include "FakeFileSystem.h"
#include "list/ComputerList.h"
#include "list/ListFile.h"
#include "list/ListFileFormat.h"
#include "platform/OstrelError.h"

#include <gtest/gtest.h>
#include <optional>

namespace {

using TTexts = std::vector<std::string>;

const std::string ListPath = "/data/Mervane/list.dat";

// One copy of the program on the fake backend, sharing its list file with others that the
// test stands in for by writing the file itself.
class ListMergeTest : public testing::Test
{
public:
    TFakeListBox Rows { TControlDecl {} };
    TComputerList List { Rows };
    TFakeFileSystem Files;
    TMergeBase Base;

    ListMergeTest() { Files.Folders.insert("/data/Mervane"); }

    // Another copy's save, or none to remove the file.
    void FileHolds(const std::optional<TTexts>& texts)
    {
        if (texts)
            Files.Files[ListPath] = FormatListFile(std::vector<std::string_view>(texts->begin(), texts->end()),
                                                   TTextEncoding::Utf8, Files.AnsiCodePage());
        else
            Files.Files.erase(ListPath);
    }

    TTexts FileEntries() const
    {
        const auto entries = ParseListFile(Files.Files.at(ListPath), Files.AnsiCodePage()).Entries;
        return { entries.begin(), entries.end() };
    }

    // The list as the user left it: loaded entries deleted, new ones appended.
    void ListShows(const TTexts& texts)
    {
        while (List.Count() > 0)
            List.Delete(0);
        for (const auto& text : texts)
            List.Append(text, std::nullopt);
    }

    TTexts Texts() const
    {
        TTexts texts;
        for (int i = 0; i < List.Count(); ++i)
            texts.push_back(List.Text(i));
        return texts;
    }
};

// How another program left the file that holds FileNow.
enum class TFileState {
    Whole,
    Emptied,
    CutInLastSection,
};

struct TMergeCase
{
    const char* Name;
    // What the file held at start; none: no file; LoadFails: the load failed.
    std::optional<TTexts> Base;
    std::optional<TTexts> FileNow;
    TTexts List;
    TTexts Expected;
    TFileState State = TFileState::Whole;
};

const TTexts LoadFails = { "(the load failed)" };

void PrintTo(const TMergeCase& row, std::ostream* out)
{
    *out << row.Name;
}

const TMergeCase MergeCases[] = {
    // No other copy saved meanwhile: the list is written as it stands.
    { "NoFileThenOrNowWritesTheList", std::nullopt, std::nullopt, { "a", "a", "b" }, { "a", "a", "b" } },
    { "UnchangedFileKeepsAnEditInPlace",
      TTexts { "a", "b", "c" },
      TTexts { "a", "b", "c" },
      { "a", "B2", "c" },
      { "a", "B2", "c" } },
    { "UnchangedFileKeepsAnEditOfLetterCase", TTexts { "pc1" }, TTexts { "pc1" }, { "PC1" }, { "PC1" } },
    { "FileGoneSinceLoadWritesTheList", TTexts { "x", "y" }, std::nullopt, { "x", "z" }, { "x", "z" } },

    // Another copy saved meanwhile.
    { "BothCopiesAdditionsKept", TTexts { "x" }, TTexts { "x", "y" }, { "x", "z" }, { "x", "y", "z" } },
    { "OtherCopysDeletionStays", TTexts { "x", "y" }, TTexts { "x" }, { "x", "y", "z" }, { "x", "z" } },
    { "ThisCopysDeletionStays", TTexts { "x", "y" }, TTexts { "x", "y", "z" }, { "x" }, { "x", "z" } },
    { "DeletedByBoth", TTexts { "x", "y" }, TTexts { "x" }, { "x" }, { "x" } },
    { "EditIsDeletionPlusAddition",
      TTexts { "x", "y", "w" },
      TTexts { "x", "y", "w", "v" },
      { "x", "y2", "w" },
      { "x", "w", "v", "y2" } },
    { "EditOfOtherCopysDeletionComesBack", TTexts { "x", "y" }, TTexts { "x" }, { "x", "y2" }, { "x", "y2" } },
    { "EditedByBothKeepsBothEdits", TTexts { "y" }, TTexts { "y1" }, { "y2" }, { "y1", "y2" } },
    { "EditOfLetterCaseCounts",
      TTexts { "pc1", "x" },
      TTexts { "pc1", "x", "v" },
      { "PC1", "x" },
      { "x", "v", "PC1" } },
    { "SameAdditionInOtherCaseOnce",
      TTexts { "x" },
      TTexts { "x", "http://PC1:80" },
      { "x", "http://pc1:80" },
      { "x", "http://PC1:80" } },
    { "SameAdditionUnicodeCaseOnce",
      TTexts { "x" },
      TTexts { "x", "http://B\xC3\x9CRO:80" },
      { "x", "http://b\xC3\xBCro:80" },
      { "x", "http://B\xC3\x9CRO:80" } },
    { "KelvinSignIsTheLetterK",
      TTexts { "x" },
      TTexts { "x", "\xE2\x84\xAA:1" },
      { "x", "k:1" },
      { "x", "\xE2\x84\xAA:1" } },
    { "DeletionReachesOtherCopysCaseEdit", TTexts { "pc1", "x" }, TTexts { "PC1", "x", "v" }, { "x" }, { "x", "v" } },
    { "DeletionTakesTheEntrySpeltAlike",
      TTexts { "a", "PC1", "pc1" },
      TTexts { "a", "PC1", "pc1", "b" },
      { "a", "PC1" },
      { "a", "PC1", "b" } },
    { "ListTextsComparedAsStored",
      TTexts { "x" },
      TTexts { "x", "y" },
      { "  x  ", "z\r\nmore", "" },
      { "x", "y", "z" } },

    // Equal texts count one by one.
    { "OneOfTwoDuplicatesDeleted", TTexts { "a", "a" }, TTexts { "a", "a", "b" }, { "a" }, { "a", "b" } },
    { "DuplicateAddedHere", TTexts { "a" }, TTexts { "a", "b" }, { "a", "a" }, { "a", "b", "a" } },
    { "DuplicateAddedThereSurvivesDeletionHere", TTexts { "a" }, TTexts { "a", "a" }, {}, { "a" } },
    { "DuplicateAddedOnBothSidesOnce", TTexts { "a" }, TTexts { "a", "a" }, { "a", "a" }, { "a", "a" } },

    // A failed load knows nothing of the file: all it holds is kept.
    { "FailedLoadKeepsTheFile", LoadFails, TTexts { "a", "b" }, { "n" }, { "a", "b", "n" } },
    { "FailedLoadAddsOnlyWhatTheFileLacks", LoadFails, TTexts { "a", "b" }, { "A", "n", "n" }, { "a", "b", "n", "n" } },
    { "FailedLoadAndNoFileWritesTheList", LoadFails, std::nullopt, { "n" }, { "n" } },

    // A file that holds no whole list tells nothing of deletions either.
    { "EmptiedFileKeepsTheList", TTexts { "x", "y" }, TTexts {}, { "x", "z" }, { "x", "z" }, TFileState::Emptied },
    { "FileCutShortKeepsBothSides",
      TTexts { "x", "y", "w" },
      TTexts { "x", "y", "w" },
      { "x", "w", "z" },
      { "x", "y", "w", "z" },
      TFileState::CutInLastSection },
};

class ListMergeCaseTest : public ListMergeTest, public testing::WithParamInterface<TMergeCase>
{
};

TEST_P(ListMergeCaseTest, FileEndsWith)
{
    const auto& row = GetParam();
    if (row.Base == LoadFails) {
        FileHolds(TTexts { "unseen" });
        Files.ReadError = 11;
        EXPECT_THROW(LoadList(List, Files, Base), EOstrelError);
        Files.ReadError = 0;
    } else {
        FileHolds(row.Base);
        LoadList(List, Files, Base);
    }
    FileHolds(row.FileNow);
    if (row.State == TFileState::Emptied)
        Files.Files.at(ListPath).clear();
    else if (row.State == TFileState::CutInLastSection)
        Files.Files.at(ListPath).resize(Files.Files.at(ListPath).rfind("Name=") + 2);
    ListShows(row.List);

    SaveList(List, Files, Base);

    EXPECT_EQ(FileEntries(), row.Expected);
    EXPECT_EQ(Texts(), row.List) << "the merge changed the list shown";
}

INSTANTIATE_TEST_SUITE_P(Saves, ListMergeCaseTest, testing::ValuesIn(MergeCases),
                         [](const testing::TestParamInfo<TMergeCase>& row) { return std::string(row.param.Name); });

TEST_F(ListMergeTest, WhatWasWrittenIsTheNextSavesBase)
{
    // A close during a scan can save twice; another copy deletes y in between.
    FileHolds(TTexts { "x" });
    LoadList(List, Files, Base);
    List.Append("y", std::nullopt);
    SaveList(List, Files, Base);
    FileHolds(TTexts { "x" });

    SaveList(List, Files, Base);

    EXPECT_EQ(FileEntries(), (TTexts { "x" }));
}

TEST_F(ListMergeTest, SecondSaveKeepsWhatTheFirstMergedIn)
{
    // Another copy adds y; this one, which added z, closes twice, as during a scan.
    FileHolds(TTexts { "x" });
    LoadList(List, Files, Base);
    List.Append("z", std::nullopt);
    FileHolds(TTexts { "x", "y" });
    SaveList(List, Files, Base);
    ASSERT_EQ(FileEntries(), (TTexts { "x", "y", "z" }));

    SaveList(List, Files, Base);

    EXPECT_EQ(FileEntries(), (TTexts { "x", "y", "z" }));
}

TEST_F(ListMergeTest, SecondSaveAfterFailedLoadKeepsTheFile)
{
    FileHolds(TTexts { "a", "b" });
    Files.ReadError = 11;
    EXPECT_THROW(LoadList(List, Files, Base), EOstrelError);
    Files.ReadError = 0;
    List.Append("n", std::nullopt);
    SaveList(List, Files, Base);

    SaveList(List, Files, Base);

    EXPECT_EQ(FileEntries(), (TTexts { "a", "b", "n" }));
}

TEST_F(ListMergeTest, FailedSaveKeepsTheBase)
{
    FileHolds(TTexts { "x" });
    LoadList(List, Files, Base);
    List.Append("y", std::nullopt);
    FileHolds(TTexts { "x", "z" });
    Files.WriteResult = { TFileWriteFailure::Write, 28 };
    EXPECT_THROW(SaveList(List, Files, Base), EOstrelError);
    Files.WriteResult = {};

    SaveList(List, Files, Base);

    EXPECT_EQ(FileEntries(), (TTexts { "x", "z", "y" }));
}

TEST_F(ListMergeTest, MergedFileKeepsItsEncoding)
{
    Files.Files[ListPath] = "\xFF\xFE";
    LoadList(List, Files, Base);
    List.Append("B\xC3\xBCro:1", std::nullopt);
    Files.Files[ListPath] = FormatListFile({ "x" }, TTextEncoding::Utf16LE, Files.AnsiCodePage());

    SaveList(List, Files, Base);

    EXPECT_TRUE(Files.Files[ListPath].starts_with("\xFF\xFE"));
    EXPECT_EQ(FileEntries(), (TTexts { "x", "B\xC3\xBCro:1" }));
}

} // namespace
