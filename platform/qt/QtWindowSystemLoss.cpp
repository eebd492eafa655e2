#include "platform/qt/QtWindowSystemLoss.h"

#include "platform/Application.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <QCoreApplication>
#include <QThread>

namespace {

// How long a thread that heard of the loss holds the process up for the UI thread's handler.
constexpr auto HandlerTime = std::chrono::seconds(5);

// The application watched; a message handler can reach it only through a static.
std::atomic<TApplication*> Watched = nullptr;
QtMessageHandler PreviousHandler = nullptr;

// The plugin's event thread and the UI thread may each meet the broken connection, and each
// ends the process right after its warning: the first to hear of it starts the handler on the
// UI thread, and every one waits there until the handler is done.
std::mutex Mutex;
std::condition_variable HandlerDone;
bool Queued = false;
bool Started = false;
bool Done = false;

// On the UI thread, once.
void RunHandler(TApplication& application)
{
    {
        const std::lock_guard lock(Mutex);
        if (Started)
            return;
        Started = true;
    }
    if (application.OnWindowSystemLost)
        application.OnWindowSystemLost();
    {
        const std::lock_guard lock(Mutex);
        Done = true;
    }
    HandlerDone.notify_all();
}

void WindowSystemLost()
{
    TApplication* application = Watched;
    if (!application)
        return;
    auto* ui = QCoreApplication::instance();
    if (!ui || QThread::currentThread() == ui->thread()) {
        RunHandler(*application);
        return;
    }
    std::unique_lock lock(Mutex);
    if (!Queued) {
        Queued = true;
        QMetaObject::invokeMethod(
            ui, [application] { RunHandler(*application); }, Qt::QueuedConnection);
    }
    HandlerDone.wait_for(lock, HandlerTime, [] { return Done; });
}

bool IsUncategorisedWarning(QtMsgType type, const QMessageLogContext& context)
{
    return type == QtWarningMsg && context.category && qstrcmp(context.category, "default") == 0;
}

void WatchMessages(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (IsUncategorisedWarning(type, context)) {
        // The plugin's own words for the compositor's end, for a broken or a refused
        // connection alike, each followed by _exit.
        if (message.startsWith(QLatin1String("The Wayland connection")))
            WindowSystemLost();
        // They reach this handler only to be heard here; the program keeps no log.
        if (!qEnvironmentVariableIsSet("QT_LOGGING_RULES"))
            return;
    }
    if (PreviousHandler)
        PreviousHandler(type, context, message);
    else
        qt_message_output(type, context, message);
}

} // namespace

TQtWindowSystemLoss::TQtWindowSystemLoss(TApplication& application)
{
    Watched = &application;
    PreviousHandler = qInstallMessageHandler(WatchMessages);
}

TQtWindowSystemLoss::~TQtWindowSystemLoss()
{
    qInstallMessageHandler(PreviousHandler);
    Watched = nullptr;
}
