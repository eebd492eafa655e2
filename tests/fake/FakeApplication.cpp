#include "FakeApplication.h"

#include "platform/Form.h"

void TFakeApplication::Run(TForm& mainForm)
{
    mainForm.Show();
    while (!m_terminated && mainForm.Visible())
        ProcessMessages();
}

void TFakeApplication::ProcessMessages()
{
    ++Pumps;
    m_syncGate.RunPending();
    if (OnProcessMessages)
        OnProcessMessages();
}

void TFakeApplication::ShowErrorBox(const std::string& message)
{
    ErrorBoxes.push_back(message);
    if (OnErrorBox)
        OnErrorBox(message);
}

void TFakeApplication::ShowException(const std::exception& error)
{
    ExceptionReports.push_back(error.what());
}
