#include "platform/common/ErrorReport.h"

#include <gtest/gtest.h>

namespace {

struct TTextCase
{
    const char* Name;
    std::string_view Message;
    std::string_view Expected;
};

// GoogleTest names the case in its output instead of dumping its bytes.
void PrintTo(const TTextCase& row, std::ostream* out)
{
    *out << row.Name;
}

class ExceptionReportTextTest : public ::testing::TestWithParam<TTextCase>
{
};

TEST_P(ExceptionReportTextTest, AddsFullStopOnlyAfterCharactersAboveIt)
{
    EXPECT_EQ(ExceptionReportText(GetParam().Message), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, ExceptionReportTextTest,
    ::testing::Values(TTextCase { "Letter", "Stream write error", "Stream write error." },
                      TTextCase { "FullStop", "Address in use.", "Address in use." },
                      TTextCase { "ClosingParenthesis", "Failed (5)", "Failed (5)" },
                      TTextCase { "Comma", "Failed,", "Failed," }, TTextCase { "Slash", "http://a/", "http://a/." },
                      TTextCase { "Digit", "Error 5", "Error 5." }, TTextCase { "Space", "Trailing ", "Trailing " },
                      TTextCase { "NonAscii", "B\xC3\xBCro", "B\xC3\xBCro." }, TTextCase { "Empty", "", "" }),
    [](const auto& row) { return row.param.Name; });

struct TTitleCase
{
    const char* Name;
    std::string_view Path;
    std::string_view Expected;
};

void PrintTo(const TTitleCase& row, std::ostream* out)
{
    *out << row.Name;
}

class ApplicationTitleTest : public ::testing::TestWithParam<TTitleCase>
{
};

TEST_P(ApplicationTitleTest, IsFileNameCutAtFirstDotWithLaterLettersLowered)
{
    EXPECT_EQ(ApplicationTitle(GetParam().Path), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Paths, ApplicationTitleTest,
                         ::testing::Values(TTitleCase { "Plain", "/usr/bin/ostrel", "ostrel" },
                                           TTitleCase { "FirstLetterKeepsCase", "/opt/OSTREL", "Ostrel" },
                                           TTitleCase { "CutAtFirstDot", "C:\\Program Files\\Ostrel.Setup.exe",
                                                        "Ostrel" },
                                           TTitleCase { "DotInFolderIgnored", "/home/a.b/Tool", "Tool" },
                                           TTitleCase { "NoFolder", "MyProg.exe", "Myprog" },
                                           TTitleCase { "OnlyExtension", "/x/.hidden", "" }),
                         [](const auto& row) { return row.param.Name; });

} // namespace
