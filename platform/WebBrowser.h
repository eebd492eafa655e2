#pragma once

#include "platform/Controls.h"

#include <functional>
#include <string>

// The embedded web view. Calls that fail throw EOstrelError.
class TWebBrowser : public TControl
{
public:
    // READYSTATE values of the published enumeration.
    static constexpr int ReadyStateComplete = 4;

    // Starts a navigation; it goes on while the UI thread dispatches events. One the
    // engine will not even start fails like any other: OnNavigateError, then
    // OnDownloadComplete, from the event loop, and the ready state settles.
    virtual void Navigate(const std::string& url) = 0;
    virtual int ReadyState() = 0;
    // What the view shows now; empty before the first navigation.
    virtual std::string LocationUrl() const = 0;

    // Raised when a navigation's download finishes, is halted or fails.
    std::function<void()> OnDownloadComplete;
    // Raised for a navigation that fails, main frame or frame; setting cancel
    // drops the engine's own error page for it.
    std::function<void(const std::string& url, const std::string& frame, int statusCode, bool& cancel)> OnNavigateError;
    // Raised when the page asks for url in a new window (a link's target, a script), or the
    // user asks for a link outside the view through its menu; the view itself never shows it.
    std::function<void(const std::string& url)> OnNewWindow;
};
