#include "app/Unit1.h"
#include "list/ComputerList.h"
#include "MessageBoxWatcher.h"
#include "platform/common/ErrorReport.h"
#include "platform/OstrelError.h"
#include "platform/qt/QtFormWindow.h"
#include "platform/qt/QtPlatform.h"
#include "QtTestPlatform.h"

#include <cfenv>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <sstream>
#include <sys/mount.h>

namespace {

namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

class Form1WidgetTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fs::remove_all(ListFolder());
        m_form1 = std::make_unique<TForm1>(TestPlatform());
    }

    static fs::path ListFolder() { return fs::path(TestDataFolder()) / "Mervane"; }
    TForm1& Form1() { return *m_form1; }
    QWidget& Window() { return QtWindowOf(m_form1->Form()); }
    QWidget& Control(const char* name) { return *Window().findChild<QWidget*>(QString::fromLatin1(name)); }

    // The first-show discovery request fails here (no network) and its error box would take the focus.
    void SkipFirstShowRequest() { Form1().Form().OnShow = nullptr; }

    // Runs the event loop, doing act once the window is up and no box is open; true when the loop ended.
    bool RunUntilEnded(const std::function<void()>& act)
    {
        QTimer trigger;
        bool acted = false;
        QObject::connect(&trigger, &QTimer::timeout, [&] {
            if (!acted && Window().isVisible() && !QApplication::activeModalWidget()) {
                acted = true;
                Watcher.Boxes.clear();
                act();
            }
        });
        trigger.start(10);
        TestPlatform().Application().Run(Form1().Form());
        return acted;
    }

    TMessageBoxWatcher Watcher;

private:
    std::unique_ptr<TForm1> m_form1;
};

TEST_F(Form1WidgetTest, ShowsTheProgramsIcon)
{
    Form1().Form().Show();

    EXPECT_FALSE(Window().windowIcon().isNull());
}

// Typed Tab stays inside the web engine's page, whose own focus chain it walks; the chain
// the window declares is read instead.
TEST_F(Form1WidgetTest, TabOrderFollowsDeclaration)
{
    const QStringList tabStops = { "Button1", "ListBox1", "WebBrowser1", "Button2" };
    std::vector<QString> order;
    const QWidget* first = &Control("Button1");
    const QWidget* widget = first;
    do {
        if (widget->parentWidget() == &Window() && tabStops.contains(widget->objectName()))
            order.push_back(widget->objectName());
        widget = widget->nextInFocusChain();
    } while (widget != first);

    EXPECT_EQ(order, (std::vector<QString> { "Button1", "ListBox1", "WebBrowser1", "Button2" }));
}

TEST_F(Form1WidgetTest, ErrorEscapingHandlerGetsDefaultReport)
{
    Form1().Form().Button("Button1").OnClick = [] { throw EOstrelError("Boom"); };

    QTest::mouseClick(&Control("Button1"), Qt::LeftButton);

    ASSERT_EQ(Watcher.Boxes.size(), 1u);
    EXPECT_EQ(Watcher.Boxes[0].Text, "Boom.");
    EXPECT_EQ(Watcher.Boxes[0].Caption.toStdString(),
              ApplicationTitle(QCoreApplication::applicationFilePath().toStdString()));
    EXPECT_EQ(Watcher.Boxes[0].Icon, QMessageBox::Critical);
}

TEST_F(Form1WidgetTest, MaskDivisionByZeroLeavesOtherTrapsAlone)
{
    feenableexcept(FE_DIVBYZERO | FE_INVALID);

    TestPlatform().Application().MaskDivisionByZero();

    EXPECT_EQ(fegetexcept(), FE_INVALID);
    fedisableexcept(FE_ALL_EXCEPT);
}

TEST_F(Form1WidgetTest, CloseWithUnwritableFolderShowsOneErrorBoxAndStillEnds)
{
    const auto folder = ListFolder().string();
    fs::create_directories(folder);
    ASSERT_EQ(mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr), 0);
    ASSERT_EQ(mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr), 0);

    const bool ended = RunUntilEnded([&] { Window().close(); });
    const auto boxes = Watcher.Boxes;
    umount(folder.c_str());

    EXPECT_TRUE(ended);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Caption, "Ostrel");
    EXPECT_EQ(boxes[0].Icon, QMessageBox::Critical);
    EXPECT_TRUE(boxes[0].Text.startsWith("Cannot create file \"" + QString::fromStdString(folder) + "/list.dat\". "))
        << boxes[0].Text.toStdString();
    EXPECT_TRUE(TestPlatform().Application().Terminated());
}

TEST_F(Form1WidgetTest, TerminationSignalSavesTheListAndEnds)
{
    const bool ended = RunUntilEnded([] { std::raise(SIGTERM); });

    EXPECT_TRUE(ended);
    EXPECT_TRUE(Watcher.Boxes.empty());
    EXPECT_EQ(ReadBytes(ListFolder() / "list.dat"), "\xEF\xBB\xBF[General]\r\nComputers=0\r\n\r\n");
    EXPECT_FALSE(Window().isVisible()) << "the window lingers while the program ends";
}

TEST_F(Form1WidgetTest, SessionEndsOnlyWithItsQuitAndSavesTheListThen)
{
    SkipFirstShowRequest();
    const bool ended = RunUntilEnded([&] {
        Form1().Computers().Append("Kept-PC:8080", std::nullopt);
        // What the session manager's save request runs: the list is saved, the program stays.
        Form1().Form().SaveForSession();
        EXPECT_FALSE(TestPlatform().Application().Terminated());
        EXPECT_TRUE(Window().isVisible());
        Form1().Computers().Append("Late-PC:8080", std::nullopt);
        QEvent quit(QEvent::Quit);
        QCoreApplication::sendEvent(qApp, &quit);
    });

    EXPECT_TRUE(ended);
    EXPECT_TRUE(TestPlatform().Application().Terminated());
    EXPECT_NE(ReadBytes(ListFolder() / "list.dat").find("Name=Late-PC:8080"), std::string::npos);
    EXPECT_FALSE(Window().isVisible());
}

TEST_F(Form1WidgetTest, ClosingDuringTheViewersWaitEndsTheProgramWithoutOpeningTheEntry)
{
    SkipFirstShowRequest();
    Form1().Computers().Append("http://127.0.0.1:1/never-asked-for", std::nullopt);

    const bool ended = RunUntilEnded([&] {
        QTimer::singleShot(200, [&] { Window().close(); });
        Form1().Computers().SetSelection(0);
        Form1().OpenSelectedComputer();
    });

    EXPECT_TRUE(ended);
    // The engine takes a navigation as its requested address at once.
    const auto& view = static_cast<QWebEngineView&>(Control("WebBrowser1"));
    EXPECT_EQ(view.page()->requestedUrl().toString().toStdString(), "about:blank");
    EXPECT_TRUE(fs::exists(ListFolder() / "list.dat"));
}

TEST_F(Form1WidgetTest, EndRequestAlsoEndsAnOpenErrorBox)
{
    SkipFirstShowRequest();
    Watcher.Answer = false;
    const bool ended = RunUntilEnded([] {
        QTimer::singleShot(100, [] { std::raise(SIGHUP); });
        TestPlatform().Application().ShowErrorBox("Nobody answers this");
    });

    EXPECT_TRUE(ended);
    ASSERT_EQ(Watcher.Boxes.size(), 1u);
    EXPECT_EQ(Watcher.Boxes[0].Text, "Nobody answers this");
    EXPECT_TRUE(fs::exists(ListFolder() / "list.dat"));
}

} // namespace
