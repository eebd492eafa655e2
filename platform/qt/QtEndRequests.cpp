#include "platform/qt/QtEndRequests.h"

#include "platform/OstrelError.h"
#include "platform/qt/QtApplication.h"
#include "platform/qt/QtForm.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <unistd.h>

namespace {

// The write end, for the signal handler: a signal handler can reach no object.
volatile std::sig_atomic_t SignalPipe = -1;

extern "C" void OnEndSignal(int)
{
    const int savedErrno = errno;
    const char byte = 1;
    // A full pipe already holds a pending request, so a failed write loses nothing.
    [[maybe_unused]] const auto written = write(SignalPipe, &byte, 1);
    errno = savedErrno;
}

} // namespace

TQtEndRequests::TQtEndRequests(TQtApplication& application)
    : m_application(application)
{
    if (pipe2(m_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        throw EOstrelError(std::string("Cannot watch for end signals. ") + std::strerror(errno));
    SignalPipe = m_pipe[1];
    m_notifier = std::make_unique<QSocketNotifier>(m_pipe[0], QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(), [this] {
        DrainPipe();
        RequestEnd();
    });

    struct sigaction action = {};
    action.sa_handler = OnEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < std::size(Signals); ++i)
        sigaction(Signals[i], &action, &m_previous[i]);

    // Qt asks for the application's data when the session ends; the data is the list.
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, m_notifier.get(),
                     [this](QSessionManager&) { RequestEnd(); });
}

TQtEndRequests::~TQtEndRequests()
{
    for (std::size_t i = 0; i < std::size(Signals); ++i)
        sigaction(Signals[i], &m_previous[i], nullptr);
    SignalPipe = -1;
    m_notifier.reset();
    close(m_pipe[0]);
    close(m_pipe[1]);
}

void TQtEndRequests::DrainPipe()
{
    char bytes[64];
    while (read(m_pipe[0], bytes, sizeof bytes) > 0) { }
}

void TQtEndRequests::RequestEnd()
{
    if (auto* mainForm = m_application.MainForm())
        mainForm->Close();
    else
        m_application.Terminate();
}
