#include "MessageBoxWatcher.h"

#include <QAbstractButton>
#include <QApplication>

TMessageBoxWatcher::TMessageBoxWatcher()
{
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        if (box != m_lastSeen)
            Boxes.push_back({ box->windowTitle(), box->text(), box->icon() });
        m_lastSeen = box;
        if (Answer)
            box->button(QMessageBox::Ok)->click();
    });
    m_timer.start(10);
}
