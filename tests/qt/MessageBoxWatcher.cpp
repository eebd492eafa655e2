#include "MessageBoxWatcher.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>

TMessageBoxWatcher::TMessageBoxWatcher()
{
    QApplication::instance()->installEventFilter(this);
}

TMessageBoxWatcher::~TMessageBoxWatcher()
{
    QApplication::instance()->removeEventFilter(this);
}

bool TMessageBoxWatcher::eventFilter(QObject* watched, QEvent* event)
{
    // The program shows each box once; a spontaneous show is the window system's, of a box already counted.
    auto* box = qobject_cast<QMessageBox*>(watched);
    if (box && event->type() == QEvent::Show && !event->spontaneous()) {
        Boxes.push_back({ box->windowTitle(), box->text(), box->icon() });
        // Pressed once the box runs its own loop; a box gone by then takes the call with it.
        if (Answer)
            QMetaObject::invokeMethod(
                box, [box] { box->button(QMessageBox::Ok)->click(); }, Qt::QueuedConnection);
    }
    return false;
}
