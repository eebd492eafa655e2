// The end signals reach the event loop through the pipe, and leave the handlers they found.
#include "platform/posix/EndSignals.h"

#include <atomic>
#include <csignal>
#include <gtest/gtest.h>
#include <poll.h>

namespace {

bool Readable(int fd)
{
    pollfd watched { fd, POLLIN, 0 };
    return poll(&watched, 1, 0) == 1 && (watched.revents & POLLIN);
}

TEST(EndSignals, EachEndSignalMakesThePipeReadableUntilDrained)
{
    TEndSignals signals;
    EXPECT_FALSE(Readable(signals.Pipe()));
    for (const int signal : { SIGTERM, SIGINT, SIGHUP }) {
        ASSERT_EQ(raise(signal), 0);
        EXPECT_TRUE(Readable(signals.Pipe())) << "signal " << signal;
        raise(signal);
        signals.Drain();
        EXPECT_FALSE(Readable(signals.Pipe())) << "signal " << signal;
    }
}

std::atomic<int> Caught = 0;

TEST(EndSignals, HandlersFoundBeforeComeBackAfterwards)
{
    const auto previous = std::signal(SIGTERM, [](int signal) { Caught = signal; });
    {
        const TEndSignals signals;
        raise(SIGTERM);
        EXPECT_EQ(Caught, 0);
    }
    raise(SIGTERM);
    EXPECT_EQ(Caught, SIGTERM);
    std::signal(SIGTERM, previous);
}

} // namespace
