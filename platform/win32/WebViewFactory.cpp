#include "platform/win32/WebViewFactory.h"

#include "platform/OstrelError.h"
#include "platform/win32/Win32Control.h"

namespace {

// Stands in for the WebBrowser control until it is hosted here: the area shows nothing, and
// every navigation fails as a web view that cannot be had would.
class TUnavailableWebView : public TWin32Control<TWebBrowser>
{
public:
    TUnavailableWebView(std::string name, HWND area, TWin32Dispatch dispatch)
        : TWin32Control(std::move(name), area, std::move(dispatch))
    { }

    void Navigate(const std::string&) override { throw EOstrelError("The web view is not available"); }
    int ReadyState() override { return 0; }
    std::string LocationUrl() const override { return {}; }
};

} // namespace

TWin32WebView CreateWebView(std::string name, HWND area, TWin32Dispatch dispatch)
{
    return { std::make_unique<TUnavailableWebView>(std::move(name), area, std::move(dispatch)), [] {},
             [](MSG&) { return false; } };
}
