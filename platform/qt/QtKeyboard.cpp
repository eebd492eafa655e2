#include "platform/qt/QtKeyboard.h"

#include "platform/qt/QtNativeKeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace {

// Control+M reads as a carriage return, as it does when typed.
const QString ControlMText = QStringLiteral("\r");

void Post(QWidget* target, QEvent::Type type, int key, Qt::KeyboardModifiers modifiers, const TNativeKey& native,
          quint32 nativeModifiers, const QString& text)
{
    // postEvent takes ownership of the event.
    QCoreApplication::postEvent(
        target, new QKeyEvent(type, key, modifiers, native.ScanCode, native.VirtualKey, nativeModifiers, text));
}

} // namespace

void TQtKeyboard::InjectControlM()
{
    QWidget* target = QApplication::focusWidget();
    if (!target)
        return;
    const TControlMKeys keys = CurrentControlMKeys();
    // Posted, not sent: like input from the system, the keys arrive after the current key is handled.
    // The native modifiers are the state before each key, as the system reports it.
    Post(target, QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier, keys.Control, 0, {});
    Post(target, QEvent::KeyPress, Qt::Key_M, Qt::ControlModifier, keys.M, keys.ControlModifier, ControlMText);
    Post(target, QEvent::KeyRelease, Qt::Key_M, Qt::ControlModifier, keys.M, keys.ControlModifier, ControlMText);
    Post(target, QEvent::KeyRelease, Qt::Key_Control, Qt::NoModifier, keys.Control, keys.ControlModifier, {});
}
