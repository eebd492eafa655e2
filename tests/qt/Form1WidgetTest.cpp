#include "app/Unit1.h"
#include "list/ComputerList.h"
#include "MessageBoxWatcher.h"
#include "platform/Canvas.h"
#include "platform/common/ErrorReport.h"
#include "platform/OstrelError.h"
#include "platform/qt/QtFormWindow.h"
#include "platform/qt/QtPlatform.h"
#include "QtTestPlatform.h"
#include "ui/Form2.h"

#include <cfenv>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <QApplication>
#include <QDesktopServices>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QWindow>
#include <sstream>
#include <sys/mount.h>

namespace {

namespace fs = std::filesystem;

// Receives what the program hands to the desktop's browser.
class TUrlRecorder : public QObject
{
    Q_OBJECT

public:
    std::vector<QUrl> Urls;

public slots:
    void Open(const QUrl& url) { Urls.push_back(url); }
};

// Records the key events a widget gets, in order.
class TKeyRecorder : public QObject
{
public:
    struct TKey
    {
        QEvent::Type Type;
        int Key;
        bool Injected;
        bool operator==(const TKey&) const = default;
    };

    std::vector<TKey> Keys;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
            const auto& key = static_cast<QKeyEvent&>(*event);
            Keys.push_back({ event->type(), key.key(), !key.spontaneous() });
        }
        return false;
    }
};

// Waits for condition while events are processed, up to a deadline.
bool WaitFor(const std::function<bool()>& condition)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

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

    void ShowNormalAt(int width, int height)
    {
        Form1().Form().Show();
        Window().showNormal();
        Window().resize(width, height);
        ASSERT_TRUE(WaitFor([&] { return Window().size() == QSize(width, height); }));
    }

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

TEST_F(Form1WidgetTest, StartsMaximisedWithVersionTitleAndIcon)
{
    Form1().Form().Show();

    EXPECT_TRUE(Window().isMaximized());
    EXPECT_EQ(Window().windowTitle(), "Ostrel 4.1.1");
    EXPECT_FALSE(Window().windowIcon().isNull());
    EXPECT_FALSE(Control("ProgressBar1").isVisible());
}

TEST_F(Form1WidgetTest, PicturesComeFromTheCompiledInResources)
{
    EXPECT_EQ(Form1().Image1().Width(), 32);
    EXPECT_EQ(Form1().Image1().Height(), 32);
    EXPECT_EQ(Form1().Image2().Width(), 16);
    EXPECT_EQ(Form1().Image2().Height(), 16);
    EXPECT_THROW(TestPlatform().LoadPicture("missing.png"), EOstrelError);
}

struct TPlaceCase
{
    const char* Name;
    int Grow;
    QRect Declared;
    bool GrowsX; // left, right: the width follows the window
    bool MovesX; // right only: the control moves with the right edge
    bool GrowsY;
    bool MovesY;
};

TEST_F(Form1WidgetTest, AnchorsKeepLeftColumnAndStretchWebView)
{
    const TPlaceCase cases[] = {
        { "Button2", 0, { -1, 1, 287, 49 }, false, false, false, false },
        { "Button1", 0, { -1, 50, 287, 49 }, false, false, false, false },
        { "ListBox1", 0, { 1, 101, 283, 423 }, false, false, true, false },
        { "WebBrowser1", 0, { 288, 1, 782, 524 }, true, false, true, false },
        { "Label2", 0, { 823, 532, 241, 13 }, false, true, false, true },
        { "ProgressBar1", 0, { 1, 530, 283, 17 }, false, false, false, true },
    };
    for (const auto& [growX, growY] : { std::pair { 0, 0 }, std::pair { 328, 149 }, std::pair { -72, -51 } }) {
        ShowNormalAt(1072 + growX, 551 + growY);
        for (const auto& place : cases) {
            SCOPED_TRACE(std::string(place.Name) + " at growth " + std::to_string(growX) + "," + std::to_string(growY));
            const auto& declared = place.Declared;
            const QRect expected(declared.x() + (place.MovesX ? growX : 0), declared.y() + (place.MovesY ? growY : 0),
                                 declared.width() + (place.GrowsX ? growX : 0),
                                 declared.height() + (place.GrowsY ? growY : 0));
            EXPECT_EQ(Control(place.Name).geometry(), expected);
        }
        EXPECT_EQ(Control("Label1").pos(), QPoint(290, 529 + growY));
    }
}

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

TEST_F(Form1WidgetTest, HelpLinkUnderlinesOnHoverKeepsBoldAndOpensMakersPage)
{
    auto& link = static_cast<QLabel&>(Control("Label2"));
    EXPECT_TRUE(link.font().bold());
    EXPECT_EQ(link.palette().color(QPalette::WindowText), QColor(0x33, 0x66, 0xCC));
    EXPECT_EQ(link.cursor().shape(), Qt::PointingHandCursor);

    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(&link, &enter);
    EXPECT_TRUE(link.font().underline());
    EXPECT_TRUE(link.font().bold());

    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&link, &leave);
    EXPECT_FALSE(link.font().underline());
    EXPECT_TRUE(link.font().bold());

    TUrlRecorder browser;
    QDesktopServices::setUrlHandler("https", &browser, "Open");
    QTest::mouseClick(&link, Qt::LeftButton);
    QDesktopServices::unsetUrlHandler("https");
    EXPECT_EQ(browser.Urls, std::vector<QUrl> { QUrl("https://www.mervane.example/remote-management.html") });
}

TEST_F(Form1WidgetTest, EachEnterInjectsOneControlMSequenceAndStillReachesTheList)
{
    SkipFirstShowRequest();
    Form1().Form().Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
    auto& list = Control("ListBox1");
    list.setFocus();
    ASSERT_TRUE(WaitFor([&] { return list.hasFocus(); }));
    TKeyRecorder recorder;
    list.installEventFilter(&recorder);

    using TKey = TKeyRecorder::TKey;
    const std::vector<TKey> onePress = {
        { QEvent::KeyPress, Qt::Key_Return, false }, { QEvent::KeyRelease, Qt::Key_Return, false },
        { QEvent::KeyPress, Qt::Key_Control, true }, { QEvent::KeyPress, Qt::Key_M, true },
        { QEvent::KeyRelease, Qt::Key_M, true },     { QEvent::KeyRelease, Qt::Key_Control, true },
    };
    for (int presses = 1; presses <= 2; ++presses) {
        QTest::keyClick(&list, Qt::Key_Return);
        // Let any echo of the injected keys come round, had there been one.
        for (int round = 0; round < 5; ++round)
            QCoreApplication::processEvents();
        auto expected = onePress;
        if (presses == 2)
            expected.insert(expected.begin(), onePress.begin(), onePress.end());
        EXPECT_EQ(recorder.Keys, expected) << "after " << presses << " presses";
    }
    recorder.Keys.clear();
    QTest::keyClick(&list, Qt::Key_A);
    QCoreApplication::processEvents();
    EXPECT_EQ(recorder.Keys.size(), 2u) << "other keys inject nothing";
    list.removeEventFilter(&recorder);
}

// The address dialog made after the main window, as the program makes it.
TEST_F(Form1WidgetTest, EnterOrSpaceOnAFocusedButtonPressesItAndTheDialogIsOwnedByTheMainWindow)
{
    SkipFirstShowRequest();
    TForm2 dialog(TestPlatform());
    Form2 = &dialog;
    Form1().Form().Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
    QWidget& dialogWindow = QtWindowOf(dialog.Form());
    auto& addComputer = Control("Button1");

    for (const auto key : { Qt::Key_Return, Qt::Key_Space }) {
        QTimer::singleShot(0, [&] {
            ASSERT_TRUE(WaitFor([&] { return dialogWindow.isVisible(); }));
            EXPECT_EQ(dialogWindow.parentWidget(), &Window());
            EXPECT_EQ(dialogWindow.windowType(), Qt::Dialog);
            EXPECT_EQ(dialogWindow.windowHandle()->transientParent(), Window().windowHandle());
            QTest::keyClicks(dialogWindow.findChild<QWidget*>("Edit1"), "PC");
            auto* save = dialogWindow.findChild<QWidget*>("Button1");
            save->setFocus(Qt::TabFocusReason);
            QTest::keyClick(save, key);
        });
        addComputer.setFocus(Qt::TabFocusReason);
        QTest::keyClick(&addComputer, key);
    }

    EXPECT_EQ(Form1().Computers().Count(), 2);
    Form2 = nullptr;
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

#include "Form1WidgetTest.moc"
