#include "platform/qt/QtKeyboard.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace {

// Virtual keys and the PC keyboard's scan code, as the system's keyboard input carries them.
constexpr quint32 LeftControlKey = 0xA2;
constexpr quint32 MKey = 0x4D;
constexpr quint32 MScanCode = 0x32;

// Control+M reads as a carriage return, as it does when typed.
const QString ControlMText = QStringLiteral("\r");

class TInjectedKeyEvent : public QKeyEvent
{
public:
    TInjectedKeyEvent(Type type, int key, Qt::KeyboardModifiers modifiers, quint32 scanCode, quint32 virtualKey,
                      const QString& text)
        : QKeyEvent(type, key, modifiers, scanCode, virtualKey, 0, text)
    { }
};

} // namespace

void TQtKeyboard::InjectControlM()
{
    QWidget* target = QApplication::focusWidget();
    if (!target)
        return;
    // Posted, not sent: like input from the system, the keys arrive after the current key is handled.
    // postEvent takes ownership of each event.
    QCoreApplication::postEvent(
        target, new TInjectedKeyEvent(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier, 0, LeftControlKey, {}));
    QCoreApplication::postEvent(
        target, new TInjectedKeyEvent(QEvent::KeyPress, Qt::Key_M, Qt::ControlModifier, MScanCode, MKey, ControlMText));
    QCoreApplication::postEvent(
        target,
        new TInjectedKeyEvent(QEvent::KeyRelease, Qt::Key_M, Qt::ControlModifier, MScanCode, MKey, ControlMText));
    QCoreApplication::postEvent(
        target, new TInjectedKeyEvent(QEvent::KeyRelease, Qt::Key_Control, Qt::NoModifier, 0, LeftControlKey, {}));
}

bool IsInjectedKey(const QKeyEvent& event)
{
    return dynamic_cast<const TInjectedKeyEvent*>(&event) != nullptr;
}
