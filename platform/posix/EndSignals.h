#pragma once

#include "platform/posix/UniqueFd.h"

#include <csignal>
#include <iterator>

// SIGTERM, SIGINT and SIGHUP, the ways a POSIX system asks a program to end, turned into a
// byte on a self-pipe: a signal handler may do next to nothing, so the event loop watches
// the pipe and ends the program from there. The previous handlers come back when this goes.
// One at a time: the handlers reach the pipe through a single static.
class TEndSignals
{
public:
    TEndSignals();
    ~TEndSignals();
    TEndSignals(const TEndSignals&) = delete;
    TEndSignals& operator=(const TEndSignals&) = delete;

    // Readable once an end signal came; never blocks.
    int Pipe() const { return m_read.Get(); }
    // Takes what the signals wrote, so the pipe waits for the next one.
    void Drain();

private:
    static constexpr int Signals[] = { SIGTERM, SIGINT, SIGHUP };

    TUniqueFd m_read;
    TUniqueFd m_write;
    struct sigaction m_previous[std::size(Signals)] = {};
};
