#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class TApplication;
class TComputerList;
class TForm;
class TLabel;
class TWebBrowser;

// Shows the selected computer's web pages in the web view, and keeps the
// window title and the status line in step with the view: "Connecting..." while
// an entry is being opened, the failing address after a failed navigation, and
// nothing once a navigation has completed without one.
class TViewer
{
public:
    static constexpr std::string_view Connecting = "Connecting...";
    static constexpr std::string_view BlankPage = "about:blank";
    static constexpr std::string_view Scheme = "http://";
    // The shortest time from the blank page to the entry's navigation.
    static constexpr std::uint32_t SettleMilliseconds = 1000;

    // titlePrefix is what every completed download writes before the current address.
    TViewer(TApplication& application, TComputerList& computers, TWebBrowser& webBrowser, TLabel& statusLine,
            TForm& mainWindow, std::string titlePrefix);
    TViewer(const TViewer&) = delete;
    TViewer& operator=(const TViewer&) = delete;

    // Blanks the view, waits until at least SettleMilliseconds have passed and the
    // view is ready, pumping events meanwhile, then opens the entry selected by then.
    // Once the end of the program has been asked for, the wait ends and nothing is opened.
    void OpenSelectedComputer();
    // Names the opened entry in the title; empties the status line unless the
    // download failed or is the blank page of an open operation still waiting.
    void DownloadComplete();
    // Suppresses the engine's error page and names the failing address, until a
    // later download completes without an error.
    void NavigateError(const std::string& url, bool& cancel);

    // The text of the entry most recently opened, as the list holds it.
    const std::string& CurrentAddress() const { return m_currentAddress; }

private:
    // False when the wait ended because the program is ending.
    bool WaitUntilSettled(std::uint32_t start);

    TApplication& m_application;
    TComputerList& m_computers;
    TWebBrowser& m_webBrowser;
    TLabel& m_statusLine;
    TForm& m_mainWindow;
    const std::string m_titlePrefix;
    std::string m_currentAddress;
    // Open operations waiting for the blank page to settle; nested ones count too.
    int m_waits = 0;
    // A navigation error came after the last completed download.
    bool m_failed = false;
};

// The address a text is opened at: the text itself when it begins with "http://"
// (letter case counts), otherwise "http://" followed by the whole text.
std::string AddressToOpen(const std::string& text);

// Whether url is an http or https address (the scheme in any letter case).
bool IsWebAddress(const std::string& url);
