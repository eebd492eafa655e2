#include "discovery/Scan.h"

#include "platform/Application.h"
#include "platform/Controls.h"

TScan::TScan(TApplication& application, std::function<void()> markAllOffline, TButton& button,
             TProgressBar& progressBar, std::function<void()> sendRequest)
    : m_application(application)
    , m_markAllOffline(std::move(markAllOffline))
    , m_button(button)
    , m_progressBar(progressBar)
    , m_sendRequest(std::move(sendRequest))
{ }

void TScan::Run()
{
    m_running = true;
    // However the scan ends, even by an error that escapes it, it leaves the window ready for the next one.
    struct TEnd
    {
        TScan& Scan;
        ~TEnd()
        {
            Scan.m_progressBar.SetVisible(false);
            Scan.m_button.SetEnabled(true);
            Scan.m_running = false;
        }
    } end { *this };
    m_markAllOffline();
    m_button.SetEnabled(false);
    m_progressBar.SetPosition(0);
    m_progressBar.SetVisible(true);
    m_sendRequest();
    for (int step = 1; step <= Steps; ++step) {
        m_progressBar.SetPosition(step);
        m_application.ProcessMessages();
        m_application.Sleep(StepPauseMilliseconds);
    }
}
