// What only the Qt button has: Qt's push button clicks again at every repeat of a held Enter.
#include "platform/qt/QtControls.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace {

TEST(QtButtonTest, AHeldEnterPressesTheButtonOnce)
{
    QWidget window;
    TQtButton button(ControlDecl(TControlKind::Button, "Button1", "Go", { 0, 0, 75, 25 }, 0), &window,
                     [](const std::function<void()>& handler) { handler(); });
    int clicks = 0;
    button.OnClick = [&] { ++clicks; };
    QWidget& widget = *window.findChild<QPushButton*>();
    for (int presses = 1; presses <= 2; ++presses) {
        for (const bool repeated : { false, true, true, true }) {
            QKeyEvent down(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r", repeated);
            QApplication::sendEvent(&widget, &down);
        }
        QKeyEvent up(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, "\r");
        QApplication::sendEvent(&widget, &up);
        EXPECT_EQ(clicks, presses);
    }
}

} // namespace
