#include "FakeApplication.h"

#include "platform/common/SyncGate.h"

void TFakeApplication::ProcessMessages()
{
    ++Pumps;
    SyncGate().RunPending();
    if (OnProcessMessages)
        OnProcessMessages();
}

void TFakeApplication::ShowException(const std::exception& error)
{
    ExceptionReports.push_back(error.what());
}

void TFakeApplication::RunMainLoop()
{
    while (!Terminated())
        ProcessMessages();
}

void TFakeApplication::ShowBox(const std::string&, const std::string& text)
{
    ErrorBoxes.push_back(text);
    if (OnErrorBox)
        OnErrorBox(text);
}
