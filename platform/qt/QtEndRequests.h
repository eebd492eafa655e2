#pragma once

#include "platform/posix/EndSignals.h"

#include <memory>

class QSocketNotifier;
class TQtApplication;

// Turns the end of the desktop session and the end signals into a close request of the
// main form, so the list is saved however the program is asked to end.
class TQtEndRequests
{
public:
    explicit TQtEndRequests(TQtApplication& application);
    ~TQtEndRequests();
    TQtEndRequests(const TQtEndRequests&) = delete;
    TQtEndRequests& operator=(const TQtEndRequests&) = delete;

private:
    void RequestEnd();

    TQtApplication& m_application;
    TEndSignals m_signals;
    std::unique_ptr<QSocketNotifier> m_notifier;
};
