#include "platform/win32/WebBrowserControl.h"

#include "platform/win32/BrowserEmulation.h"
#include "platform/win32/ComError.h"
#include "platform/win32/UniqueBstr.h"
#include "platform/win32/UniqueVariant.h"

#include <memory>
#include <olectl.h>

namespace {

// Another interface of the control, which it must have.
template <class T> TComPtr<T> Require(const TComPtr<IOleObject>& object, const char* what)
{
    TComPtr<T> other = object.As<T>();
    if (!other)
        ThrowIfFailed(E_NOINTERFACE, what);
    return other;
}

} // namespace

TWebBrowserControl::TWebBrowserControl(HWND area, IOleClientSite& site, IDispatch& events)
    : m_area(area)
{
    try {
        Create(site, events);
    } catch (...) {
        Teardown();
        throw;
    }
}

TWebBrowserControl::~TWebBrowserControl()
{
    Teardown();
}

void TWebBrowserControl::Create(IOleClientSite& site, IDispatch& events)
{
    UseCurrentBrowserEmulation();
    ThrowIfFailed(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject, m_object.PutVoid()),
                  "Cannot create the web view");
    m_site = TComPtr<IOleClientSite>::Share(&site);
    ThrowIfFailed(m_object->SetClientSite(&site), "Cannot give the web view its host");
    RECT bounds {};
    GetClientRect(m_area, &bounds);
    ThrowIfFailed(m_object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &site, 0, m_area, &bounds),
                  "Cannot show the web view in its window");
    m_browser = Require<IWebBrowser2>(m_object, "The web view has no automation interface");
    m_inPlace = Require<IOleInPlaceObject>(m_object, "The web view cannot be placed in a window");
    // Without it keys aimed at pages are not forwarded; the view works all the same.
    m_active = m_object.As<IOleInPlaceActiveObject>();

    const auto sources = Require<IConnectionPointContainer>(m_object, "The web view raises no events");
    TComPtr<IConnectionPoint> source;
    ThrowIfFailed(sources->FindConnectionPoint(DIID_DWebBrowserEvents2, source.Put()),
                  "The web view raises no browser events");
    ThrowIfFailed(source->Advise(&events, &m_eventCookie), "Cannot connect to the web view's events");
    m_eventSource = std::move(source);
}

// OLE's order: events off, the object closed and parted from its site, then the last references.
void TWebBrowserControl::Teardown() noexcept
{
    if (m_eventSource)
        m_eventSource->Unadvise(m_eventCookie);
    m_eventSource.Reset();
    if (m_object) {
        m_object->Close(OLECLOSE_NOSAVE);
        m_object->SetClientSite(nullptr);
    }
    m_active.Reset();
    m_inPlace.Reset();
    m_browser.Reset();
    m_object.Reset();
    m_site.Reset();
}

HRESULT TWebBrowserControl::Navigate(const std::wstring& url)
{
    const TUniqueBstr address(SysAllocStringLen(url.data(), static_cast<UINT>(url.size())));
    if (!address)
        return E_OUTOFMEMORY;
    // Flags, target frame, post data and headers: each a missing optional argument.
    VARIANT missing {};
    missing.vt = VT_ERROR;
    missing.scode = DISP_E_PARAMNOTFOUND;
    return m_browser->Navigate(address.get(), &missing, &missing, &missing, &missing);
}

int TWebBrowserControl::ReadyState() const
{
    DISPPARAMS none {};
    TUniqueVariant value;
    ThrowIfFailed(m_browser->Invoke(DISPID_READYSTATE, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none,
                                    value.Put(), nullptr, nullptr),
                  "Cannot read the web view's ready state");
    ThrowIfFailed(value.ChangeType(VT_I4), "The web view's ready state is not a number");
    return value.Get().lVal;
}

std::wstring TWebBrowserControl::LocationUrl() const
{
    BSTR location = nullptr;
    ThrowIfFailed(m_browser->get_LocationURL(&location), "Cannot read the web view's address");
    const TUniqueBstr owner(location);
    return std::wstring(location ? location : L"", SysStringLen(location));
}

void TWebBrowserControl::FitToArea()
{
    RECT bounds {};
    GetClientRect(m_area, &bounds);
    ThrowIfFailed(m_inPlace->SetObjectRects(&bounds, &bounds), "Cannot resize the web view");
}

bool TWebBrowserControl::TranslateKey(MSG& message)
{
    return m_active && IsKeyForArea(m_area, message) && m_active->TranslateAccelerator(&message) == S_OK;
}

void TWebBrowserControl::Focus()
{
    RECT bounds {};
    GetClientRect(m_area, &bounds);
    ThrowIfFailed(m_object->DoVerb(OLEIVERB_UIACTIVATE, nullptr, m_site.Get(), 0, m_area, &bounds),
                  "Cannot give the web view the focus");
    // A control that is active already, or has no document yet, may leave the focus where it
    // was, on the area included; its own window takes it then, as keys go nowhere in the area.
    HWND control = nullptr;
    if (!IsChild(m_area, GetFocus()) && SUCCEEDED(m_inPlace->GetWindow(&control)))
        SetFocus(control);
}

void TWebBrowserControl::FrameActivated(bool active)
{
    if (m_active)
        m_active->OnFrameWindowActivate(active);
}

HRESULT TWebBrowserControl::SetZoom(int percent)
{
    VARIANT zoom {};
    zoom.vt = VT_I4;
    zoom.lVal = percent;
    return m_browser->ExecWB(OLECMDID_OPTICAL_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, &zoom, nullptr);
}

bool IsKeyForArea(HWND area, const MSG& message)
{
    if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST)
        return false;
    return message.hwnd == area || IsChild(area, message.hwnd);
}
