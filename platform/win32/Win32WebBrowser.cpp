#include "platform/win32/Win32WebBrowser.h"

#include "platform/win32/ComError.h"
#include "platform/win32/Dpi.h"
#include "platform/win32/WebPageMenu.h"
#include "platform/windows/WideText.h"

#include <commctrl.h>
#include <mshtmhst.h>
#include <optional>
#include <utility>

namespace {

// What an application command (WM_APPCOMMAND) asks of a web view, if anything.
std::optional<TPageCommand> BrowsingCommand(short command)
{
    switch (command) {
    case APPCOMMAND_BROWSER_BACKWARD:
        return TPageCommand::Back;
    case APPCOMMAND_BROWSER_FORWARD:
        return TPageCommand::Forward;
    case APPCOMMAND_BROWSER_REFRESH:
        return TPageCommand::Reload;
    default:
        return std::nullopt;
    }
}

} // namespace

TWin32WebBrowser::TWin32WebBrowser(std::string name, HWND area, TDispatch dispatch)
    : m_name(std::move(name))
    , m_area(area)
    , m_dispatch(std::move(dispatch))
    , m_site(TWebBrowserSite::Create(area, IsProcessDPIAware() != FALSE))
    , m_events(TWebBrowserEvents::Create({
          [this] { DownloadComplete(); },
          [this](const std::string& url, const std::string& frame, int statusCode, bool& cancel) {
              NavigateError(url, frame, statusCode, cancel);
          },
          [this](const std::string& url) { NewWindow(url); },
          [this](long command, bool enabled) { CommandStateChange(command, enabled); },
      }))
{
    try {
        m_control = std::make_unique<TWebBrowserControl>(area, *m_site.Get(), *m_events.Get());
    } catch (...) {
        m_site->Detach();
        m_events->Detach();
        throw;
    }
    m_site->SetContextMenuHandler(
        [this](DWORD kind, POINT at, IDispatch* element) { ShowPageMenu(kind, at, element); });
    SetWindowSubclass(m_area, AreaProcedure, 0, reinterpret_cast<DWORD_PTR>(this));
    FollowDpi();
}

TWin32WebBrowser::~TWin32WebBrowser()
{
    RemoveWindowSubclass(m_area, AreaProcedure, 0);
    m_control.reset();
    // Should the control still hold either object, a late call of its finds nothing here.
    m_site->Detach();
    m_events->Detach();
}

bool TWin32WebBrowser::Visible() const
{
    return (GetWindowLongW(m_area, GWL_STYLE) & WS_VISIBLE) != 0;
}

void TWin32WebBrowser::SetVisible(bool visible)
{
    ShowWindow(m_area, visible ? SW_SHOWNA : SW_HIDE);
}

bool TWin32WebBrowser::Enabled() const
{
    return IsWindowEnabled(m_area) != FALSE;
}

void TWin32WebBrowser::SetEnabled(bool enabled)
{
    EnableWindow(m_area, enabled);
}

TBounds TWin32WebBrowser::Bounds() const
{
    RECT place {};
    GetWindowRect(m_area, &place);
    MapWindowPoints(HWND_DESKTOP, GetParent(m_area), reinterpret_cast<POINT*>(&place), 2);
    const unsigned dpi = WindowDpi(m_area);
    return { ToDesignPixels(place.left, dpi), ToDesignPixels(place.top, dpi),
             ToDesignPixels(place.right - place.left, dpi), ToDesignPixels(place.bottom - place.top, dpi) };
}

void TWin32WebBrowser::SetFocus()
{
    m_control->Focus();
}

bool TWin32WebBrowser::Focused() const
{
    const HWND focus = GetFocus();
    return focus && (focus == m_area || IsChild(m_area, focus));
}

void TWin32WebBrowser::Navigate(const std::string& url)
{
    m_navigated = true;
    ThrowIfFailed(m_control->Navigate(Widen(url)), "Cannot open \"" + url + "\" in the web view");
}

int TWin32WebBrowser::ReadyState()
{
    return m_control->ReadyState();
}

std::string TWin32WebBrowser::LocationUrl() const
{
    // Empty before the first navigation, whatever the engine would answer then.
    return m_navigated ? Narrow(m_control->LocationUrl()) : std::string();
}

void TWin32WebBrowser::FitToArea()
{
    m_control->FitToArea();
    // The form lays out after every change of its DPI (WM_DPICHANGED).
    FollowDpi();
}

void TWin32WebBrowser::FollowDpi()
{
    const int percent = PageZoomPercent(WindowDpi(m_area), SystemDpi());
    // A control without a document refuses; the next layout or finished download tries again.
    if (percent != m_zoom && SUCCEEDED(m_control->SetZoom(percent)))
        m_zoom = percent;
}

bool TWin32WebBrowser::TranslateKey(MSG& message)
{
    return m_control->TranslateKey(message);
}

void TWin32WebBrowser::DownloadComplete()
{
    // A new page may start at the engine's own zoom.
    m_zoom = 0;
    FollowDpi();
    // Bound after the view is made, and possibly unbound again: looked up at every event.
    if (OnDownloadComplete)
        m_dispatch([this] { OnDownloadComplete(); });
}

void TWin32WebBrowser::NavigateError(const std::string& url, const std::string& frame, int statusCode, bool& cancel)
{
    if (OnNavigateError)
        m_dispatch([&] { OnNavigateError(url, frame, statusCode, cancel); });
}

void TWin32WebBrowser::NewWindow(const std::string& url)
{
    if (OnNewWindow)
        m_dispatch([&] { OnNewWindow(url); });
}

void TWin32WebBrowser::CommandStateChange(long command, bool enabled)
{
    if (command == CSC_NAVIGATEBACK)
        m_canGoBack = enabled;
    else if (command == CSC_NAVIGATEFORWARD)
        m_canGoForward = enabled;
}

void TWin32WebBrowser::ShowPageMenu(DWORD kind, POINT at, IDispatch* element)
{
    m_dispatch([&] {
        const std::wstring link = LinkAddress(element);
        const TPagePlace place { m_canGoBack, m_canGoForward, kind == CONTEXT_MENU_TEXTSELECT, !link.empty() };
        if (const auto command = TrackPageMenu(m_area, at, place))
            CarryOut(*command, link);
    });
}

void TWin32WebBrowser::CarryOut(TPageCommand command, const std::wstring& link)
{
    IWebBrowser2& browser = m_control->Automation();
    // At an end of the history the control refuses to go on: nothing to report.
    switch (command) {
    case TPageCommand::Back:
        browser.GoBack();
        break;
    case TPageCommand::Forward:
        browser.GoForward();
        break;
    case TPageCommand::Reload:
        browser.Refresh();
        break;
    case TPageCommand::Copy:
        browser.ExecWB(OLECMDID_COPY, OLECMDEXECOPT_DODEFAULT, nullptr, nullptr);
        break;
    case TPageCommand::CopyLinkAddress:
        CopyText(m_area, link);
        break;
    case TPageCommand::OpenLinkInBrowser:
        NewWindow(Narrow(link));
        break;
    }
}

LRESULT CALLBACK TWin32WebBrowser::AreaProcedure(HWND area, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                                 DWORD_PTR self)
{
    auto& view = *reinterpret_cast<TWin32WebBrowser*>(self);
    if (message == WM_SETFOCUS) {
        // Tab gives the area the focus; the page takes it, UI-activated, so that keys reach it
        // without a click first.
        if (!std::exchange(view.m_focusing, true)) {
            view.m_dispatch([&] { view.m_control->Focus(); });
            view.m_focusing = false;
        }
        return 0;
    }
    if (message == WM_APPCOMMAND) {
        if (const auto command = BrowsingCommand(GET_APPCOMMAND_LPARAM(lParam))) {
            view.m_dispatch([&] { view.CarryOut(*command, {}); });
            return TRUE;
        }
    }
    return DefSubclassProc(area, message, wParam, lParam);
}
