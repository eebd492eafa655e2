#include "platform/qt/QtEventApplication.h"

#include "platform/qt/QtFormWindow.h"

#include <QKeyEvent>
#include <unistd.h>

namespace {

// QApplication keeps a reference to argc for its whole life, so these outlive it.
// The web engine takes the switches after its marker: it reports only fatal errors, as the program keeps no log.
char ProgramName[] = "ostrel";
char EngineSwitches[] = "--webEngineArgs";
char EngineLogLevel[] = "--log-level=3";
// The engine cannot confine its page processes for root and then shows no page at all unless told to
// run them unconfined. Every other user keeps the sandbox, as the engine intends.
char EngineNoSandbox[] = "--no-sandbox";
char* Arguments[]
    = { ProgramName, EngineSwitches, EngineLogLevel, geteuid() == 0 ? EngineNoSandbox : nullptr, nullptr };
int ArgumentCount = Arguments[3] ? 4 : 3;

} // namespace

TQtEventApplication::TQtEventApplication()
    : QApplication(ArgumentCount, Arguments)
{ }

bool TQtEventApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        // notify sees a key event once, before it travels up the parents, which makes it
        // the one place where a form can look at every typed character first.
        if (event->type() == QEvent::KeyPress && receiver->isWidgetType()) {
            auto* window = dynamic_cast<TQtFormWindow*>(static_cast<QWidget*>(receiver)->window());
            if (window && window->PreviewKey(static_cast<QKeyEvent&>(*event)))
                return true;
        }
        return QApplication::notify(receiver, event);
    } catch (...) {
        if (OnEscapedException)
            OnEscapedException(std::current_exception());
        return false;
    }
}
