#include "platform/qt/QtBrowsingInput.h"

#include <optional>
#include <QChildEvent>
#include <QKeyEvent>
#include <QWebEngineView>

namespace {

std::optional<QWebEnginePage::WebAction> KeyAction(const QKeyEvent& event)
{
    const auto modifiers = event.modifiers() & ~Qt::KeypadModifier;
    if (modifiers == Qt::AltModifier && event.key() == Qt::Key_Left)
        return QWebEnginePage::Back;
    if (modifiers == Qt::AltModifier && event.key() == Qt::Key_Right)
        return QWebEnginePage::Forward;
    if ((modifiers == Qt::NoModifier && event.key() == Qt::Key_F5)
        || (modifiers == Qt::ControlModifier && event.key() == Qt::Key_R))
        return QWebEnginePage::Reload;
    return std::nullopt;
}

} // namespace

TQtBrowsingInput::TQtBrowsingInput(QWebEngineView& view)
    : QObject(&view)
    , m_view(view)
{
    view.installEventFilter(this);
    for (QObject* child : view.children())
        child->installEventFilter(this);
}

bool TQtBrowsingInput::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &m_view) {
        if (event->type() == QEvent::ChildAdded)
            static_cast<QChildEvent*>(event)->child()->installEventFilter(this);
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto action = KeyAction(*static_cast<QKeyEvent*>(event));
    if (!action)
        return false;
    m_view.page()->triggerAction(*action);
    return true;
}
