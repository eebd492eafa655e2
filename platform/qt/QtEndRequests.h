#pragma once

#include <csignal>
#include <iterator>
#include <memory>

class QSocketNotifier;
class TQtApplication;

// Turns the end of the desktop session and SIGTERM, SIGINT and SIGHUP into a
// close request of the main form, so the list is saved however the program is
// asked to end. Signals reach the UI thread through a self-pipe.
class TQtEndRequests
{
public:
    explicit TQtEndRequests(TQtApplication& application);
    ~TQtEndRequests();
    TQtEndRequests(const TQtEndRequests&) = delete;
    TQtEndRequests& operator=(const TQtEndRequests&) = delete;

private:
    static constexpr int Signals[] = { SIGTERM, SIGINT, SIGHUP };

    void RequestEnd();
    void DrainPipe();

    TQtApplication& m_application;
    int m_pipe[2] = { -1, -1 };
    struct sigaction m_previous[std::size(Signals)] = {};
    std::unique_ptr<QSocketNotifier> m_notifier;
};
