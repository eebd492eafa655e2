#include "platform/qt/QtWindowSystemLoss.h"

#include "platform/Application.h"

#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <QCoreApplication>
#include <QThread>

namespace {

// How long the plugin's thread waits for the UI thread's handler before the process ends anyway.
constexpr auto HandlerTime = std::chrono::seconds(5);

// The application watched; a message handler can reach it only through a static.
std::atomic<TApplication*> Watched = nullptr;
QtMessageHandler PreviousHandler = nullptr;

void RunOnUiThread(TApplication& application)
{
    const auto run = [&application] {
        if (application.OnWindowSystemLost)
            application.OnWindowSystemLost();
    };
    auto* ui = QCoreApplication::instance();
    if (!ui || QThread::currentThread() == ui->thread()) {
        run();
        return;
    }
    // Shared: should the wait time out, the call may still run while the process ends.
    auto done = std::make_shared<std::promise<void>>();
    auto finished = done->get_future();
    QMetaObject::invokeMethod(
        ui,
        [run, done] {
            run();
            done->set_value();
        },
        Qt::QueuedConnection);
    finished.wait_for(HandlerTime);
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
        if (message.startsWith(QLatin1String("The Wayland connection"))) {
            if (TApplication* application = Watched.exchange(nullptr))
                RunOnUiThread(*application);
        }
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
