#pragma once

#include <cstdint>
#include <functional>

class TApplication;
class TButton;
class TProgressBar;

// "Find computers": forgets who was online, broadcasts one request, and gives
// the agents ten seconds to answer while the progress bar fills and the window's
// events, replies included, are pumped between the steps.
class TScan
{
public:
    static constexpr int Steps = 50;
    static constexpr std::uint32_t StepPauseMilliseconds = 200;

    // markAllOffline marks every entry that has a status offline and redraws the
    // list; sendRequest broadcasts and reports its own failure.
    TScan(TApplication& application, std::function<void()> markAllOffline, TButton& button, TProgressBar& progressBar,
          std::function<void()> sendRequest);

    // Runs the whole scan; returns when it has ended.
    void Run();
    bool Running() const { return m_running; }

private:
    TApplication& m_application;
    std::function<void()> m_markAllOffline;
    TButton& m_button;
    TProgressBar& m_progressBar;
    std::function<void()> m_sendRequest;
    bool m_running = false;
};
