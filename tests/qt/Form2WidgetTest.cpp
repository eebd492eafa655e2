#include "list/ComputerList.h"
#include "platform/Form.h"
#include "platform/qt/QtFormWindow.h"
#include "platform/qt/QtListBox.h"
#include "platform/qt/QtPlatform.h"
#include "QtTestPlatform.h"
#include "ui/AddressOperations.h"
#include "ui/Form2.h"

#include <functional>
#include <gtest/gtest.h>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {
constexpr int Deadline = 5000;

// The address dialog on the real backend; Play runs as the user once the
// dialog is up with the focus in it.
class Form2WidgetTest : public ::testing::Test
{
protected:
    QWidget& Window() { return QtWindowOf(Dialog.Form()); }
    QLineEdit& Edit() { return *Window().findChild<QLineEdit*>("Edit1"); }
    QPushButton& Button(const char* name) { return *Window().findChild<QPushButton*>(name); }

    // Plays once the dialog is up: for a showing that starts next. A showing the play left
    // open is closed by its frame in the end, so a key that did nothing fails instead of hanging.
    void PlayOnceShown(std::function<void()> play)
    {
        const int showing = ++m_showings;
        QTimer::singleShot(0, [this, play] {
            QApplication::setActiveWindow(&Window());
            ASSERT_TRUE(QTest::qWaitFor([this] { return Window().isVisible() && Edit().hasFocus(); }, Deadline));
            play();
        });
        QTimer::singleShot(Deadline, &Window(), [this, showing] {
            if (showing == m_showings && Window().isVisible())
                Window().close();
        });
    }

    int ShowPlaying(std::function<void()> play)
    {
        PlayOnceShown(std::move(play));
        return Dialog.ShowModal();
    }

    TForm2 Dialog { TestPlatform() };

private:
    int m_showings = 0;
};

TEST_F(Form2WidgetTest, ShowsItsCaptionAndSizeWithTheWholeTextSelected)
{
    Dialog.Edit1().SetText("John-PC:8080");
    QString selected;
    const int result = ShowPlaying([&] {
        selected = Edit().selectedText();
        EXPECT_EQ(Window().windowTitle(), "Add computer");
        EXPECT_EQ(Dialog.Form().ClientWidth(), 319);
        EXPECT_EQ(Dialog.Form().ClientHeight(), 138);
        Button("Button2").click();
    });
    EXPECT_EQ(result, TForm::ModalResultCancel);
    EXPECT_EQ(selected, "John-PC:8080");
    EXPECT_FALSE(Window().isVisible());
}

TEST_F(Form2WidgetTest, EnterAndEscapeInTheEditBoxDoNotCloseAndTabLeadsToSave)
{
    bool stillShown = false;
    const int result = ShowPlaying([&] {
        QTest::keyClicks(&Edit(), "PC9:80");
        QTest::keyClick(&Edit(), Qt::Key_Return);
        QTest::keyClick(&Edit(), Qt::Key_Escape);
        QApplication::processEvents();
        stillShown = Window().isVisible();
        QTest::keyClick(&Edit(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), &Button("Button1"));
        QTest::keyClick(&Button("Button1"), Qt::Key_Return);
    });
    EXPECT_TRUE(stillShown);
    EXPECT_EQ(result, TForm::ModalResultSave);
    EXPECT_EQ(Dialog.Edit1().Text(), "PC9:80");
}

TEST_F(Form2WidgetTest, EditingAnEntryOfAHundredThousandCharactersSavesItUnchanged)
{
    TControlDecl listDecl;
    listDecl.Kind = TControlKind::ListBox;
    listDecl.Name = "ListBox1";
    listDecl.ItemHeight = 50;
    QWidget listWindow;
    const auto list = CreateQtListBox(listDecl, &listWindow, [](const std::function<void()>& handler) { handler(); });
    TComputerList computers(*list);
    const std::string longText = "http://PC1:8080/" + std::string(100'000 - 16, 'x');
    computers.Append(longText, std::nullopt);
    computers.SetSelection(0);

    PlayOnceShown([this] {
        QTest::keyClick(&Edit(), Qt::Key_Tab);
        QTest::keyClick(&Button("Button1"), Qt::Key_Space);
    });
    EditSelectedComputer(Dialog, computers);

    EXPECT_EQ(computers.Text(0).size(), 100'000u);
    EXPECT_TRUE(computers.Text(0) == longText);
}

TEST_F(Form2WidgetTest, TabOrderIsSaveCancelEdit)
{
    ShowPlaying([&] {
        Button("Button1").setFocus(Qt::TabFocusReason);
        QTest::keyClick(&Button("Button1"), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), &Button("Button2"));
        QTest::keyClick(&Button("Button2"), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), &Edit());
        Button("Button2").click();
    });
}

TEST_F(Form2WidgetTest, ClosingTheFrameGivesCancel)
{
    EXPECT_EQ(ShowPlaying([&] { Window().close(); }), TForm::ModalResultCancel);
    EXPECT_EQ(ShowPlaying([&] { Button("Button1").click(); }), TForm::ModalResultSave);
}
} // namespace
