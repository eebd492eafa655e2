#include "AgentOptions.h"
#include "AgentWebServer.h"
#include "DiscoveryResponder.h"

#include <atomic>
#include <csignal>
#include <iostream>
#include <stdexcept>
#include <thread>

int main(int argc, char** argv)
{
    TAgentOptions options;
    try {
        options = ParseAgentOptions({ argv + 1, argv + argc });
    } catch (const std::invalid_argument& error) {
        std::cerr << "ostrel-agent-sim: " << error.what() << "\n\n" << AgentUsage();
        return 2;
    }
    if (options.Help) {
        std::cout << AgentUsage();
        return 0;
    }

    // The signals are taken by sigwait below, not by a handler, so every thread blocks them.
    sigset_t endSignals;
    sigemptyset(&endSignals);
    sigaddset(&endSignals, SIGINT);
    sigaddset(&endSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &endSignals, nullptr);

    try {
        TDiscoveryResponder responder(options);
        TAgentWebServer web(options);
        web.Bind();
        std::atomic<bool> stop = false;
        std::jthread answering([&] { responder.Run(stop); });
        std::jthread serving([&] { web.Run(); });
        std::cout << "ostrel-agent-sim: " << options.Computers.size() << " computer(s) ready, web port "
                  << options.WebPort << std::endl;
        int signal = 0;
        sigwait(&endSignals, &signal);
        stop = true;
        web.Stop();
    } catch (const std::exception& error) {
        std::cerr << "ostrel-agent-sim: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
