#pragma once

#include "platform/posix/EndSignals.h"

#include <memory>

class QSocketNotifier;
class TQtApplication;

// Turns the end of the desktop session and the end signals into a close request of the
// main form, so the list is saved however the program is asked to end. The session manager's
// request for data only saves: the session may go on (a checkpoint, a logout another program
// cancels); its real end comes as the application's quit event, on which Qt closes the
// windows, the main form's close included.
class TQtEndRequests
{
public:
    explicit TQtEndRequests(TQtApplication& application);
    ~TQtEndRequests();
    TQtEndRequests(const TQtEndRequests&) = delete;
    TQtEndRequests& operator=(const TQtEndRequests&) = delete;

private:
    void RequestEnd();
    void SaveForSession();

    TQtApplication& m_application;
    TEndSignals m_signals;
    std::unique_ptr<QSocketNotifier> m_notifier;
};
