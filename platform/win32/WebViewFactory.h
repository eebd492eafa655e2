#pragma once

#include "platform/common/Dispatch.h"
#include "platform/WebBrowser.h"
#include "platform/windows/WindowsApi.h"

#include <functional>
#include <memory>
#include <string>

// A form's web view: the control, and the two calls the form owes it.
struct TWin32WebView
{
    std::unique_ptr<TWebBrowser> Browser;
    // After every change of the area's size.
    std::function<void()> FitToArea;
    // From the message loop, for each key message aimed at the area or a window inside it,
    // before it is translated; true when the view took it, and it must go no further.
    std::function<bool(MSG& message)> TranslateKey;
    // When the form's top-level window is activated or deactivated (WM_ACTIVATE).
    std::function<void(bool active)> FrameActivated;
};

// Makes the web view that fills area, a child window the form keeps until the web view is
// gone. The one place that chooses what shows web pages in the Win32 backend.
TWin32WebView CreateWebView(std::string name, HWND area, TDispatch dispatch);
