#include "platform/qt/QtWebBrowser.h"

#include "LoopbackHttpServer.h"

#include <cstdio>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <unistd.h>

namespace {
constexpr int Deadline = 20000;

// The web view alone, its events recorded in order.
class QtWebBrowserTest : public ::testing::Test
{
protected:
    QtWebBrowserTest()
    {
        TControlDecl decl;
        decl.Kind = TControlKind::WebBrowser;
        decl.Name = "WebBrowser1";
        decl.Bounds = { 0, 0, 640, 480 };
        Browser = CreateQtWebBrowser(decl, &Window, [](const std::function<void()>& handler) { handler(); });
        Browser->OnDownloadComplete = [this] { Events.push_back("complete"); };
        Browser->OnNavigateError = [this](const std::string& url, const std::string&, int, bool& cancel) {
            Events.push_back("error " + url);
            cancel = true;
        };
        Window.resize(640, 480);
        Window.show();
    }

    // Navigates and waits for the download to end.
    void Open(const QString& url)
    {
        const auto before = Events.size();
        Browser->Navigate(url.toStdString());
        ASSERT_TRUE(QTest::qWaitFor([&] { return Events.size() > before && Events.back() == "complete"; }, Deadline));
    }

    QString PlainText()
    {
        QString text;
        bool done = false;
        Browser->View().page()->toPlainText([&](const QString& result) {
            text = result;
            done = true;
        });
        EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, Deadline));
        return text;
    }

    QWidget Window;
    TLoopbackHttpServer Server;
    std::unique_ptr<TQtWebBrowser> Browser;
    std::vector<std::string> Events;
};

TEST_F(QtWebBrowserTest, ReadyStateIsCompleteOnlyOnceTheNavigationHasEnded)
{
    EXPECT_EQ(Browser->ReadyState(), 0);
    Browser->Navigate("about:blank");
    EXPECT_NE(Browser->ReadyState(), TWebBrowser::ReadyStateComplete);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Events.empty(); }, Deadline));
    EXPECT_EQ(Browser->ReadyState(), TWebBrowser::ReadyStateComplete);
    EXPECT_EQ(Events, std::vector<std::string> { "complete" });
}

// The engine reports no new start for a navigation made while a load is still
// going, only its end; the view must still come back to complete.
TEST_F(QtWebBrowserTest, NavigatingAwayFromAPageStillLoadingEndsComplete)
{
    Server.Hold("/slow.png");
    Server.Serve("/", "<html><body>Agent page<img src=\"/slow.png\"></body></html>");
    Browser->Navigate(Server.Url("/").toStdString());
    ASSERT_TRUE(QTest::qWaitFor([&] { return Server.Requested("/slow.png"); }, Deadline));
    ASSERT_NE(Browser->ReadyState(), TWebBrowser::ReadyStateComplete);

    Browser->Navigate("about:blank");

    EXPECT_TRUE(QTest::qWaitFor([&] { return Browser->ReadyState() == TWebBrowser::ReadyStateComplete; }, Deadline));
    EXPECT_EQ(Events.back(), "complete");
}

TEST_F(QtWebBrowserTest, AnAgentPageLoadsAndCompletesWithoutError)
{
    Server.Serve("/", "<html><body>Agent page</body></html>");

    Open(Server.Url("/"));

    EXPECT_EQ(Events, std::vector<std::string> { "complete" });
    EXPECT_EQ(PlainText(), "Agent page");
    EXPECT_EQ(Browser->LocationUrl(), Server.Url("/").toStdString());
}

TEST_F(QtWebBrowserTest, ARefusedConnectionReportsTheAddressAndShowsNoErrorPage)
{
    Open("about:blank");
    const QString refused = QStringLiteral("http://127.0.0.1:%1/").arg(TLoopbackHttpServer::ClosedPort());

    Open(refused);

    EXPECT_EQ(Events, (std::vector<std::string> { "complete", "error " + refused.toStdString(), "complete" }));
    EXPECT_EQ(PlainText(), "");
    EXPECT_EQ(Browser->ReadyState(), TWebBrowser::ReadyStateComplete);
}

// Texts typed by hand or made from an agent's reply may make addresses that the
// engine cannot parse, or parses and then will not load; each fails like an
// address that cannot be reached, and the view settles.
TEST_F(QtWebBrowserTest, UnusableAddressesFailLikeAnyOtherAndTheViewSettles)
{
    Server.Serve("/", "<html><body>Agent page</body></html>");
    const std::string tooLong = "http://127.0.0.1/" + std::string(2 * 1024 * 1024, 'a');
    for (const std::string& address :
         { std::string("http://bad host:8080"), std::string("http://[::1"), std::string("http://http://PC1:8080"),
           std::string("http:// "), std::string("http://"), std::string("http://:8080"),
           std::string("http://1.2.3.256/"), tooLong }) {
        SCOPED_TRACE(address.substr(0, 40));
        Events.clear();
        Open(QString::fromStdString(address));
        ASSERT_EQ(Events.size(), 2u);
        EXPECT_TRUE(Events[0].starts_with("error "));
        EXPECT_EQ(Browser->ReadyState(), TWebBrowser::ReadyStateComplete);
    }
    // Asked for twice in a row, an address the engine takes loads twice.
    Events.clear();
    Open(Server.Url("/"));
    Open(Server.Url("/"));
    EXPECT_EQ(Events, (std::vector<std::string> { "complete", "complete" }));
    EXPECT_EQ(PlainText(), "Agent page");
}

TEST_F(QtWebBrowserTest, AFailingLinkKeepsThePage)
{
    const QString refused = QStringLiteral("http://127.0.0.1:%1/").arg(TLoopbackHttpServer::ClosedPort());
    Server.Serve("/", "<html><body>Agent page<a id=\"dead\" href=\"" + refused.toUtf8() + "\">x</a></body></html>");
    Open(Server.Url("/"));

    Browser->View().page()->runJavaScript("document.getElementById('dead').click();");
    ASSERT_TRUE(QTest::qWaitFor([&] { return Events.size() >= 3; }, Deadline));

    EXPECT_EQ(Events, (std::vector<std::string> { "complete", "error " + refused.toStdString(), "complete" }));
    EXPECT_EQ(PlainText(), "Agent pagex");
}

TEST_F(QtWebBrowserTest, AFailingFrameKeepsThePage)
{
    const QString refused = QStringLiteral("http://127.0.0.1:%1/").arg(TLoopbackHttpServer::ClosedPort());
    Server.Serve("/", "<html><body>Agent page<iframe src=\"" + refused.toUtf8() + "\"></iframe></body></html>");

    Open(Server.Url("/"));

    EXPECT_EQ(PlainText(), "Agent page");
    EXPECT_EQ(Events.front(), "complete");
}

TEST_F(QtWebBrowserTest, ScriptErrorsPrintNothing)
{
    Server.Serve("/", "<html><body>Agent page<script>console.log('chatter'); noSuchFunction();</script></body></html>");
    char path[] = "/tmp/ostrel-stderr-XXXXXX";
    const int capture = mkstemp(path);
    ASSERT_GE(capture, 0);
    std::fflush(stderr);
    const int savedStderr = dup(STDERR_FILENO);
    dup2(capture, STDERR_FILENO);

    Open(Server.Url("/"));
    QTest::qWait(200);

    std::fflush(stderr);
    dup2(savedStderr, STDERR_FILENO);
    close(savedStderr);
    char printed[4096] = {};
    pread(capture, printed, sizeof printed - 1, 0);
    close(capture);
    unlink(path);
    EXPECT_EQ(std::string(printed).find("noSuchFunction"), std::string::npos) << printed;
    EXPECT_EQ(std::string(printed).find("chatter"), std::string::npos) << printed;
}
} // namespace
