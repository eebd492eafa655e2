#include "ui/Viewer.h"

#include "list/ComputerList.h"
#include "platform/Application.h"
#include "platform/common/Text.h"
#include "platform/Form.h"

#include <utility>

TViewer::TViewer(TApplication& application, TComputerList& computers, TWebBrowser& webBrowser, TLabel& statusLine,
                 TForm& mainWindow, std::string titlePrefix)
    : m_application(application)
    , m_computers(computers)
    , m_webBrowser(webBrowser)
    , m_statusLine(statusLine)
    , m_mainWindow(mainWindow)
    , m_titlePrefix(std::move(titlePrefix))
{ }

void TViewer::OpenSelectedComputer()
{
    if (m_computers.Selection() == TComputerList::None)
        return;
    m_statusLine.SetCaption(std::string(Connecting));
    m_webBrowser.Navigate(std::string(BlankPage));
    if (!WaitUntilSettled(m_application.GetTickCount()))
        return;

    // The pumping may have changed the selection or emptied it.
    const int selected = m_computers.Selection();
    if (selected == TComputerList::None)
        return;
    const std::string text = m_computers.Text(selected);
    if (text.empty())
        return;
    m_currentAddress = text;
    m_webBrowser.Navigate(AddressToOpen(text));
}

// Any handler can run to its end inside this wait, another open operation included. A close asked
// for meanwhile ends the program only once the wait is over, so a view that never becomes ready
// would keep the program alive: the end of the program ends the wait.
bool TViewer::WaitUntilSettled(std::uint32_t start)
{
    // Counted while it lasts, also when reading the ready state throws.
    struct TCountedWait
    {
        explicit TCountedWait(int& waits)
            : Waits(++waits)
        { }
        ~TCountedWait() { --Waits; }
        int& Waits;
    } counted(m_waits);
    for (;;) {
        if (m_application.Terminated())
            return false;
        // Unsigned subtraction keeps the elapsed time right across the tick count's wrap.
        const std::uint32_t elapsed = m_application.GetTickCount() - start;
        if (elapsed >= SettleMilliseconds && m_webBrowser.ReadyState() == TWebBrowser::ReadyStateComplete)
            return true;
        m_application.ProcessMessages();
    }
}

void TViewer::DownloadComplete()
{
    m_mainWindow.SetCaption(m_titlePrefix + m_currentAddress);
    // A page shown in full under "Connecting..." reads as one still loading.
    if (!std::exchange(m_failed, false) && m_waits == 0)
        m_statusLine.SetCaption({});
}

void TViewer::NavigateError(const std::string& url, bool& cancel)
{
    cancel = true;
    m_failed = true;
    m_statusLine.SetCaption("Unable to connect (" + url + ")");
}

std::string AddressToOpen(const std::string& text)
{
    if (text.starts_with(TViewer::Scheme))
        return text;
    return std::string(TViewer::Scheme) + text;
}

bool IsWebAddress(const std::string& url)
{
    const auto separator = url.find("://");
    if (separator == std::string::npos)
        return false;
    const std::string_view scheme(url.data(), separator);
    return SameText(scheme, "http") || SameText(scheme, "https");
}
