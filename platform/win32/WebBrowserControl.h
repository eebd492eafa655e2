#pragma once

#include "platform/win32/ComPtr.h"
#include "platform/windows/WindowsApi.h"

#include <exdisp.h>
#include <ocidl.h>
#include <oleidl.h>
#include <string>

// The WebBrowser control in place in an area window: OLE's call sequence from creation to
// teardown, and the calls the view makes on the control. Made and used on one thread, which
// runs OLE as a single-threaded apartment (TOleSession) for the object's whole life.
class TWebBrowserControl
{
public:
    // The control fills area, a child window that the caller keeps until this object is gone;
    // site is its host and events receives DWebBrowserEvents2. Throws EOstrelError when a step
    // fails, after taking down what it had made.
    TWebBrowserControl(HWND area, IOleClientSite& site, IDispatch& events);
    TWebBrowserControl(const TWebBrowserControl&) = delete;
    TWebBrowserControl& operator=(const TWebBrowserControl&) = delete;
    ~TWebBrowserControl();

    // IWebBrowser2::Navigate with the address only; the failure code, if any, goes back as is.
    HRESULT Navigate(const std::wstring& url);
    // The READYSTATE value, read through the automation dispatch interface (DISPID_READYSTATE).
    int ReadyState() const;
    std::wstring LocationUrl() const;
    // Fits the control to the area's client rectangle; call it whenever the area changes size.
    void FitToArea();
    // Hands a key message for the area (IsKeyForArea) to the control; true when the control
    // took it as an accelerator, and the message loop must then neither translate nor
    // dispatch it. Any other message is left alone (false).
    bool TranslateKey(MSG& message);
    // Gives the control the keyboard focus.
    void Focus();
    // Tells the control that the top-level window was activated or deactivated, so that it
    // keeps its caret and focus across a switch to another program and back.
    void FrameActivated(bool active);
    // Zooms the page, in percent of its size at the system's DPI; the engine's failure code,
    // if any (one without a document may refuse).
    HRESULT SetZoom(int percent);

    // The control's automation interface, for what the calls above do not cover.
    IWebBrowser2& Automation() const { return *m_browser.Get(); }

private:
    void Create(IOleClientSite& site, IDispatch& events);
    void Teardown() noexcept;

    HWND m_area;
    TComPtr<IOleClientSite> m_site;
    TComPtr<IOleObject> m_object;
    TComPtr<IWebBrowser2> m_browser;
    TComPtr<IOleInPlaceObject> m_inPlace;
    TComPtr<IOleInPlaceActiveObject> m_active;
    TComPtr<IConnectionPoint> m_eventSource;
    DWORD m_eventCookie = 0;
};

// Whether message is a key message (WM_KEYFIRST to WM_KEYLAST) aimed at area or at a window
// inside it. Only those go to the control: it would take Tab, Backspace and Control+C from
// the window's other controls otherwise.
bool IsKeyForArea(HWND area, const MSG& message);
