#include "platform/posix/EndSignals.h"

#include "platform/OstrelError.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
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

TEndSignals::TEndSignals()
{
    int ends[2];
    if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0)
        throw EOstrelError(std::string("Cannot watch for end signals. ") + std::strerror(errno));
    m_read = TUniqueFd(ends[0]);
    m_write = TUniqueFd(ends[1]);
    SignalPipe = m_write.Get();

    struct sigaction action = {};
    action.sa_handler = OnEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < std::size(Signals); ++i)
        sigaction(Signals[i], &action, &m_previous[i]);
}

TEndSignals::~TEndSignals()
{
    for (std::size_t i = 0; i < std::size(Signals); ++i)
        sigaction(Signals[i], &m_previous[i], nullptr);
    SignalPipe = -1;
}

void TEndSignals::Drain()
{
    char bytes[64];
    while (read(m_read.Get(), bytes, sizeof bytes) > 0) { }
}
