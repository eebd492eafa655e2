#include "platform/win32/WebViewFactory.h"

#include "platform/win32/Win32WebBrowser.h"

TWin32WebView CreateWebView(std::string name, HWND area, TDispatch dispatch)
{
    auto browser = std::make_unique<TWin32WebBrowser>(std::move(name), area, std::move(dispatch));
    TWin32WebBrowser& view = *browser;
    return { std::move(browser), [&view] { view.FitToArea(); },
             [&view](MSG& message) { return view.TranslateKey(message); },
             [&view](bool active) { view.Control().FrameActivated(active); } };
}
