#pragma once

#include "platform/win32/ComPtr.h"
#include "platform/win32/ComReferences.h"
#include "platform/windows/WindowsApi.h"

#include <functional>
#include <oaidl.h>
#include <string>

// What the event sink passes on: the events of DWebBrowserEvents2 that have handlers.
struct TWebBrowserEventHandlers
{
    std::function<void()> DownloadComplete;
    // The failing address and frame name as UTF-8, the engine's status code; cancel comes in
    // as the engine passed it and goes back to it.
    std::function<void(const std::string& url, const std::string& frame, int statusCode, bool& cancel)> NavigateError;
    // The address, as UTF-8, of a new window the user asked for; the engine opens none.
    std::function<void(const std::string& url)> NewWindow;
    // Whether the control can now carry out command, a CSC_ value (going back or forward).
    std::function<void(long command, bool enabled)> CommandStateChange;
};

// The sink connected to the control's DWebBrowserEvents2: it passes DownloadComplete (104),
// CommandStateChange (105), NavigateError (271) and NewWindow3 (273) to the handlers and answers every event with S_OK.
// Arguments that do not have the published layout are not passed on. Every new window is
// cancelled, so none opens, in the view or in a browser window of the engine's; only one the
// user asked for (a click, not a page's script on its own) is passed on.
//
// Like the site, it lives as long as anyone holds a reference (the control keeps one until
// Unadvise), made by Create and deleted at its last Release; Detach drops the handlers.
class TWebBrowserEvents final : public IDispatch
{
public:
    static TComPtr<TWebBrowserEvents> Create(TWebBrowserEventHandlers handlers);
    TWebBrowserEvents(const TWebBrowserEvents&) = delete;
    TWebBrowserEvents& operator=(const TWebBrowserEvents&) = delete;

    void Detach() { m_handlers = {}; }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IDispatch: the engine calls Invoke only, by dispatch identifier.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* parameters, VARIANT* result,
                        EXCEPINFO* exception, UINT* badArgument) override;

private:
    explicit TWebBrowserEvents(TWebBrowserEventHandlers handlers);
    ~TWebBrowserEvents() = default;

    HRESULT NavigateError(const DISPPARAMS& parameters);
    HRESULT NewWindow(const DISPPARAMS& parameters);
    HRESULT CommandStateChange(const DISPPARAMS& parameters);

    friend class TComReferences<TWebBrowserEvents>;
    TComReferences<TWebBrowserEvents> m_references;
    TWebBrowserEventHandlers m_handlers;
};
