#include "ui/Viewer.h"

#include "FakeMainWindow.h"
#include "platform/OstrelError.h"

#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace {
using Strings = std::vector<std::string>;

class ViewerTest : public ::testing::Test
{
protected:
    ViewerTest()
    {
        // Each pump stands for 100 ms of the user and the engine; a test adds its own actions.
        App().OnProcessMessages = [this] {
            App().Advance(PumpMilliseconds);
            if (OnPump)
                OnPump();
        };
    }

    TFakeApplication& App() { return Window.Platform.App; }
    TFakeWebBrowser& View() { return Window.View(); }

    static constexpr std::uint32_t PumpMilliseconds = 100;

    TFakeMainWindow Window;
    TViewer Viewer { Window.Platform.App, Window.Computers, Window.View(),
                     Window.StatusLine(), *Window.Form,     "Ostrel 4.1.1 - " };
    std::function<void()> OnPump;
};

TEST_F(ViewerTest, BlanksTheViewWaitsAtLeastASecondThenOpensTheEntry)
{
    Window.Fill({ "John-PC:8080" });
    Window.Computers.SetSelection(0);
    App().SetTickCount(5000);
    OnPump = [this] {
        // Until a second has passed the ready state is never asked and the entry not opened.
        if (App().GetTickCount() - 5000 < TViewer::SettleMilliseconds) {
            EXPECT_EQ(View().ReadyStateReads, 0);
            EXPECT_EQ(View().Navigations, Strings { "about:blank" });
        }
        EXPECT_EQ(Window.StatusLine().Caption(), "Connecting...");
    };

    Viewer.OpenSelectedComputer();

    EXPECT_EQ(View().Navigations, (Strings { "about:blank", "http://John-PC:8080" }));
    EXPECT_EQ(App().GetTickCount(), 6000u);
    EXPECT_EQ(View().ReadyStateReads, 1);
    EXPECT_EQ(Viewer.CurrentAddress(), "John-PC:8080");
    EXPECT_EQ(Window.StatusLine().Caption(), "Connecting...");
}

TEST_F(ViewerTest, WaitsOnUntilTheViewReportsComplete)
{
    Window.Fill({ "a" });
    Window.Computers.SetSelection(0);
    View().NextReadyState = 1;
    OnPump = [this] {
        if (App().GetTickCount() >= 1500)
            View().NextReadyState = TWebBrowser::ReadyStateComplete;
    };

    Viewer.OpenSelectedComputer();

    EXPECT_EQ(App().GetTickCount(), 1500u);
    EXPECT_EQ(View().Navigations.back(), "http://a");
}

TEST_F(ViewerTest, CountsTheSecondAcrossTheTickCountsWrap)
{
    Window.Fill({ "a" });
    Window.Computers.SetSelection(0);
    App().SetTickCount(0xFFFFFF00u);

    Viewer.OpenSelectedComputer();

    EXPECT_EQ(App().GetTickCount(), 0xFFFFFF00u + 1000u);
    EXPECT_EQ(View().Navigations.size(), 2u);
}

TEST_F(ViewerTest, DoesNothingWithoutASelection)
{
    Window.Fill({ "a" });

    Viewer.OpenSelectedComputer();

    EXPECT_TRUE(View().Navigations.empty());
    EXPECT_EQ(Window.StatusLine().Caption(), "");
    EXPECT_EQ(App().Pumps, 0);
}

TEST_F(ViewerTest, EmptyTextLeavesTheViewBlankAndTheCurrentAddressAsItWas)
{
    Window.Fill({ "first", "" });
    Window.Computers.SetSelection(0);
    Viewer.OpenSelectedComputer();
    Window.Computers.SetSelection(1);

    Viewer.OpenSelectedComputer();

    EXPECT_EQ(View().Navigations, (Strings { "about:blank", "http://first", "about:blank" }));
    EXPECT_EQ(Viewer.CurrentAddress(), "first");
    EXPECT_EQ(Window.StatusLine().Caption(), "Connecting...");
}

TEST_F(ViewerTest, OpensTheEntrySelectedWhenTheWaitEnds)
{
    Window.Fill({ "a", "b" });
    Window.Computers.SetSelection(0);
    OnPump = [this] { Window.Computers.SetSelection(1); };

    Viewer.OpenSelectedComputer();

    EXPECT_EQ(View().Navigations.back(), "http://b");
    EXPECT_EQ(Viewer.CurrentAddress(), "b");
}

TEST_F(ViewerTest, StopsQuietlyWhenTheEntryIsDeletedDuringTheWait)
{
    Window.Fill({ "a", "b" });
    Window.Computers.SetSelection(1);
    OnPump = [this] {
        if (Window.Computers.Count() == 2)
            Window.Computers.Delete(1);
    };

    Viewer.OpenSelectedComputer();

    EXPECT_EQ(View().Navigations, Strings { "about:blank" });
    EXPECT_EQ(Window.StatusLine().Caption(), "Connecting...");
    EXPECT_EQ(Viewer.CurrentAddress(), "");
    EXPECT_TRUE(App().ExceptionReports.empty());
}

TEST_F(ViewerTest, AClickDuringTheWaitRunsANestedOpenAndTheOuterOneAsksAgain)
{
    Window.Fill({ "a", "b" });
    Window.Computers.SetSelection(0);
    int clicks = 0;
    OnPump = [&] {
        if (clicks++ == 0) {
            Window.Computers.SetSelection(1);
            Viewer.OpenSelectedComputer();
        }
    };

    Viewer.OpenSelectedComputer();

    EXPECT_EQ(View().Navigations, (Strings { "about:blank", "about:blank", "http://b", "http://b" }));
}

TEST_F(ViewerTest, TheEndOfTheProgramEndsTheWaitOfAViewThatNeverBecomesReadyAndOpensNothing)
{
    Window.Fill({ "a", "b" });
    Window.Computers.SetSelection(0);
    View().NextReadyState = 1;
    int pumpsAfterTheEnd = 0;
    OnPump = [&] {
        if (App().Terminated())
            ++pumpsAfterTheEnd;
        // An open started during the wait, and the close, both while the view is still loading.
        if (App().GetTickCount() == 500) {
            Window.Computers.SetSelection(1);
            Viewer.OpenSelectedComputer();
        }
        if (App().GetTickCount() == 2000)
            App().Terminate();
        // Only so that a wait that missed the end fails instead of hanging.
        if (App().GetTickCount() == 60000)
            View().NextReadyState = TWebBrowser::ReadyStateComplete;
    };

    Viewer.OpenSelectedComputer();

    EXPECT_EQ(View().Navigations, (Strings { "about:blank", "about:blank" }));
    EXPECT_EQ(pumpsAfterTheEnd, 0);
    EXPECT_EQ(Viewer.CurrentAddress(), "");
    EXPECT_EQ(Window.StatusLine().Caption(), "Connecting...");
}

TEST_F(ViewerTest, TitleFollowsEveryCompletedDownload)
{
    Window.Fill({ "John-PC:8080", "http://PC2:80" });
    std::vector<std::string> titles;
    View().OnDownloadComplete = [&] {
        Viewer.DownloadComplete();
        titles.push_back(Window.Form->Caption());
    };
    // The engine completes the blank page at the first pump of each open.
    OnPump = [&] {
        if (App().Pumps == 1 || App().Pumps == 11)
            View().OnDownloadComplete();
    };

    Window.Computers.SetSelection(0);
    Viewer.OpenSelectedComputer();
    View().OnDownloadComplete();
    Window.Computers.SetSelection(1);
    Viewer.OpenSelectedComputer();
    View().OnDownloadComplete();

    EXPECT_EQ(titles,
              (Strings { "Ostrel 4.1.1 - ", "Ostrel 4.1.1 - John-PC:8080", "Ostrel 4.1.1 - John-PC:8080",
                         "Ostrel 4.1.1 - http://PC2:80" }));
}

TEST_F(ViewerTest, StatusLineEmptiesOnceAPageCompletesAndKeepsAFailureUntilTheNextPage)
{
    Window.Fill({ "John-PC:8080" });
    View().OnDownloadComplete = [this] { Viewer.DownloadComplete(); };
    View().OnNavigateError
        = [this](const std::string& url, const std::string&, int, bool& cancel) { Viewer.NavigateError(url, cancel); };
    // The blank page completes while the open operation still waits: the entry is still to come.
    OnPump = [this] {
        if (App().Pumps == 1)
            View().OnDownloadComplete();
        EXPECT_EQ(Window.StatusLine().Caption(), "Connecting...");
    };
    Window.Computers.SetSelection(0);
    Viewer.OpenSelectedComputer();
    EXPECT_EQ(Window.StatusLine().Caption(), "Connecting...");

    View().OnDownloadComplete();
    EXPECT_EQ(Window.StatusLine().Caption(), "");

    // A link that fails: the engine reports the error, then the end of the download.
    bool cancel = false;
    View().OnNavigateError("http://john-pc:8080/gone", "", 404, cancel);
    View().OnDownloadComplete();
    EXPECT_EQ(Window.StatusLine().Caption(), "Unable to connect (http://john-pc:8080/gone)");

    // Back to a page that loads.
    View().OnDownloadComplete();
    EXPECT_EQ(Window.StatusLine().Caption(), "");
    EXPECT_EQ(Window.Form->Caption(), "Ostrel 4.1.1 - John-PC:8080");
}

TEST_F(ViewerTest, NavigationErrorCancelsTheErrorPageAndNamesTheAddress)
{
    bool cancel = false;

    Viewer.NavigateError("http://john-pc:8080/", cancel);

    EXPECT_TRUE(cancel);
    EXPECT_EQ(Window.StatusLine().Caption(), "Unable to connect (http://john-pc:8080/)");
}

// A view whose ready state cannot be read.
class TBrokenWebBrowser : public TFakeWebBrowser
{
public:
    using TFakeWebBrowser::TFakeWebBrowser;
    int ReadyState() override { throw EOstrelError("The view failed"); }
};

TEST_F(ViewerTest, AFailingViewEndsTheOperationWithAnError)
{
    Window.Fill({ "a" });
    Window.Computers.SetSelection(0);
    TBrokenWebBrowser broken(TControlDecl {});
    TViewer viewer(App(), Window.Computers, broken, Window.StatusLine(), *Window.Form, "Ostrel 4.1.1 - ");

    EXPECT_THROW(viewer.OpenSelectedComputer(), EOstrelError);
    EXPECT_EQ(broken.Navigations, Strings { "about:blank" });
    EXPECT_EQ(Window.StatusLine().Caption(), "Connecting...");
    EXPECT_EQ(viewer.CurrentAddress(), "");
}

struct TAddressCase
{
    const char* Name;
    std::string Text;
    std::string Expected;
};

// GoogleTest names the case in its output instead of dumping its bytes.
void PrintTo(const TAddressCase& row, std::ostream* out)
{
    *out << row.Name;
}

class AddressToOpenTest : public ::testing::TestWithParam<TAddressCase>
{
};

TEST_P(AddressToOpenTest, PutsTheSchemeInFrontUnlessTheTextBeginsWithIt)
{
    EXPECT_EQ(AddressToOpen(GetParam().Text), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Texts, AddressToOpenTest,
                         ::testing::Values(TAddressCase { "HostAndPort", "John-PC:8080", "http://John-PC:8080" },
                                           TAddressCase { "AlreadyHttp", "http://PC1:8080", "http://PC1:8080" },
                                           TAddressCase { "SchemeAlone", "http://", "http://" },
                                           TAddressCase { "CapitalScheme", "HTTP://PC1", "http://HTTP://PC1" },
                                           TAddressCase { "OtherScheme", "https://PC1", "http://https://PC1" },
                                           TAddressCase { "LeadingBlank", " http://PC1", "http:// http://PC1" },
                                           TAddressCase { "SchemeCutShort", "http:/PC1", "http://http:/PC1" },
                                           TAddressCase { "SchemeLater", "PC1/http://", "http://PC1/http://" }),
                         [](const auto& row) { return std::string(row.param.Name); });
} // namespace
