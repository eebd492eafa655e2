#include "platform/common/DesktopApplication.h"

#include "platform/common/ErrorReport.h"
#include "platform/FormWindow.h"
#include "platform/OstrelError.h"

void TDesktopApplication::Run(TForm& mainForm)
{
    if (m_terminated)
        return;
    mainForm.Show();
    // A form that ends the program as it shows is hidden all the same.
    if (!m_terminated)
        RunMainLoop();
    // No window lingers while the program ends.
    if (TFormWindow* main = m_forms.MainWindow()) {
        main->Hide();
        FlushWindows();
    }
}

void TDesktopApplication::Terminate()
{
    m_terminated = true;
    m_forms.CancelModals();
    EndLoops();
}

void TDesktopApplication::ShowErrorBox(const std::string& message)
{
    ShowBox("Ostrel", message);
}

void TDesktopApplication::ShowException(const std::exception& error)
{
    ShowBox(ApplicationTitle(ProgramPath()), ExceptionReportText(error.what()));
}

void TDesktopApplication::Dispatch(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const std::exception& error) {
        ShowException(error);
    } catch (...) {
        ShowException(EOstrelError("Unknown error"));
    }
}

TDispatch TDesktopApplication::Dispatcher()
{
    return [this](const std::function<void()>& handler) { Dispatch(handler); };
}
