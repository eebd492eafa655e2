#include "platform/Form.h"
#include "platform/qt/QtForm.h"
#include "platform/qt/QtPlatform.h"
#include "QtTestPlatform.h"
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
    QWidget& Window() { return static_cast<TQtForm&>(Dialog.Form()).Window(); }
    QLineEdit& Edit() { return *Window().findChild<QLineEdit*>("Edit1"); }
    QPushButton& Button(const char* name) { return *Window().findChild<QPushButton*>(name); }

    int ShowPlaying(std::function<void()> play)
    {
        QTimer::singleShot(0, [this, play] {
            QApplication::setActiveWindow(&Window());
            ASSERT_TRUE(QTest::qWaitFor([this] { return Window().isVisible() && Edit().hasFocus(); }, Deadline));
            play();
        });
        return Dialog.ShowModal();
    }

    TForm2 Dialog { TestPlatform() };
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
        QTest::keyClick(&Button("Button1"), Qt::Key_Space);
    });
    EXPECT_TRUE(stillShown);
    EXPECT_EQ(result, TForm::ModalResultSave);
    EXPECT_EQ(Dialog.Edit1().Text(), "PC9:80");
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
