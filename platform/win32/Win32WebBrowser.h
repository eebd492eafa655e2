#pragma once

#include "platform/common/Dispatch.h"
#include "platform/common/PageMenu.h"
#include "platform/WebBrowser.h"
#include "platform/win32/ComPtr.h"
#include "platform/win32/OleSession.h"
#include "platform/win32/WebBrowserControl.h"
#include "platform/win32/WebBrowserEvents.h"
#include "platform/win32/WebBrowserSite.h"
#include "platform/windows/WindowsApi.h"

#include <memory>
#include <string>

// TWebBrowser over the WebBrowser control, shown in an area window that the window code
// makes at the control's place and keeps until this object is gone. Everything runs on the
// UI thread; the object starts OLE there itself (OLE counts starts, so the application may
// have started it too, as a single-threaded apartment).
//
// The window code owes it two calls: FitToArea after every change of the area's size, and
// TranslateKey from the message loop for each key message before TranslateMessage: the control
// handles the keys that browse its history there itself. The page's context menu is the view's
// own (PageMenu.h), and the mouse's back and forward buttons and a keyboard's browser keys,
// which come to the area as WM_APPCOMMAND where the control leaves them, go back, forward and
// reload. The
// events may come while the UI thread dispatches messages, and also from within Navigate:
// an engine may report a failure before the call returns.
class TWin32WebBrowser final : public TWebBrowser
{
public:
    // name: the control's name in its form; dispatch runs the bound event handlers.
    TWin32WebBrowser(std::string name, HWND area, TDispatch dispatch);
    TWin32WebBrowser(const TWin32WebBrowser&) = delete;
    TWin32WebBrowser& operator=(const TWin32WebBrowser&) = delete;
    ~TWin32WebBrowser() override;

    std::string Name() const override { return m_name; }
    bool Visible() const override;
    void SetVisible(bool visible) override;
    bool Enabled() const override;
    void SetEnabled(bool enabled) override;
    TBounds Bounds() const override;
    void SetFocus() override;
    bool Focused() const override;

    void Navigate(const std::string& url) override;
    int ReadyState() override;
    std::string LocationUrl() const override;

    HWND Area() const { return m_area; }
    // Fits the control to the area's client rectangle, and its page to the area's DPI.
    void FitToArea();
    // For the message loop: true when the control took the key message as an accelerator,
    // which must then be neither translated nor dispatched. Only key messages aimed at the
    // area or a window inside it go to the control.
    bool TranslateKey(MSG& message);

    // The hosted control itself.
    TWebBrowserControl& Control() const { return *m_control; }

private:
    // Zooms the page by the area's DPI over the system's, unless it is so zoomed already.
    void FollowDpi();
    void DownloadComplete();
    void NavigateError(const std::string& url, const std::string& frame, int statusCode, bool& cancel);
    void NewWindow(const std::string& url);
    void CommandStateChange(long command, bool enabled);
    void ShowPageMenu(DWORD kind, POINT at, IDispatch* element);
    void CarryOut(TPageCommand command, const std::wstring& link);
    static LRESULT CALLBACK AreaProcedure(HWND area, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR self);

    TOleSession m_ole;
    const std::string m_name;
    const HWND m_area;
    const TDispatch m_dispatch;
    TComPtr<TWebBrowserSite> m_site;
    TComPtr<TWebBrowserEvents> m_events;
    std::unique_ptr<TWebBrowserControl> m_control;
    bool m_navigated = false;
    bool m_canGoBack = false;
    bool m_canGoForward = false;
    // The control's activation may move the focus through the area again.
    bool m_focusing = false;
    // The zoom the page has, in percent; 0 while none was set.
    int m_zoom = 0;
};
