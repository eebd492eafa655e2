#include "platform/win32/WebBrowserEvents.h"

#include "platform/windows/WideText.h"

#include <exdisp.h>
#include <exdispid.h>
#include <optional>
#include <shobjidl.h>
#include <string_view>

namespace {

// NavigateError's arguments, in the reverse order in which rgvarg holds them.
enum TNavigateErrorArgument : UINT {
    CancelArgument,
    StatusCodeArgument,
    FrameArgument,
    UrlArgument,
    WindowArgument,
    NavigateErrorArgumentCount
};

// NewWindow3's arguments, in the reverse order in which rgvarg holds them.
enum TNewWindowArgument : UINT {
    NewUrlArgument,
    ContextUrlArgument,
    FlagsArgument,
    NewCancelArgument,
    NewWindowArgument,
    NewWindowArgumentCount
};

// The value a by-reference VARIANT argument points at, or the argument itself when the
// caller passed it by value.
const VARIANT& Value(const VARIANT& argument)
{
    if (argument.vt == (VT_VARIANT | VT_BYREF) && argument.pvarVal)
        return *argument.pvarVal;
    return argument;
}

std::optional<std::string> Text(const VARIANT& argument)
{
    const VARIANT& value = Value(argument);
    if (value.vt == VT_EMPTY)
        return std::string();
    if (value.vt != VT_BSTR)
        return std::nullopt;
    // A null BSTR is an empty text.
    return Narrow(std::wstring_view(value.bstrVal ? value.bstrVal : L"", SysStringLen(value.bstrVal)));
}

int StatusCode(const VARIANT& argument)
{
    const VARIANT& value = Value(argument);
    return value.vt == VT_I4 ? value.lVal : 0;
}

bool IsCancel(const VARIANT& argument)
{
    return argument.vt == (VT_BOOL | VT_BYREF) && argument.pboolVal;
}

} // namespace

TComPtr<TWebBrowserEvents> TWebBrowserEvents::Create(TWebBrowserEventHandlers handlers)
{
    return TComPtr<TWebBrowserEvents>::Adopt(new TWebBrowserEvents(std::move(handlers)));
}

TWebBrowserEvents::TWebBrowserEvents(TWebBrowserEventHandlers handlers)
    : m_handlers(std::move(handlers))
{ }

STDMETHODIMP TWebBrowserEvents::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IDispatch)
        && !IsEqualIID(iid, DIID_DWebBrowserEvents2)) {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) TWebBrowserEvents::AddRef()
{
    return m_references.AddRef();
}

STDMETHODIMP_(ULONG) TWebBrowserEvents::Release()
{
    return m_references.Release(this);
}

STDMETHODIMP TWebBrowserEvents::GetTypeInfoCount(UINT* count)
{
    if (!count)
        return E_POINTER;
    *count = 0;
    return S_OK;
}

STDMETHODIMP TWebBrowserEvents::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (info)
        *info = nullptr;
    return DISP_E_BADINDEX;
}

STDMETHODIMP TWebBrowserEvents::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return DISP_E_UNKNOWNNAME;
}

STDMETHODIMP TWebBrowserEvents::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* parameters, VARIANT*, EXCEPINFO*,
                                       UINT*)
{
    // Nothing may escape into the engine; the handlers report their own errors.
    try {
        if (id == DISPID_DOWNLOADCOMPLETE) {
            // A copy: the handler may detach this sink while it runs.
            if (const auto handler = m_handlers.DownloadComplete)
                handler();
        } else if (id == DISPID_NAVIGATEERROR) {
            return parameters ? NavigateError(*parameters) : DISP_E_BADPARAMCOUNT;
        } else if (id == DISPID_COMMANDSTATECHANGE) {
            return parameters ? CommandStateChange(*parameters) : DISP_E_BADPARAMCOUNT;
        } else if (id == DISPID_NEWWINDOW3) {
            return parameters ? NewWindow(*parameters) : DISP_E_BADPARAMCOUNT;
        }
        return S_OK;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

HRESULT TWebBrowserEvents::NavigateError(const DISPPARAMS& parameters)
{
    if (parameters.cArgs != NavigateErrorArgumentCount || !parameters.rgvarg)
        return DISP_E_BADPARAMCOUNT;
    const VARIANT& cancel = parameters.rgvarg[CancelArgument];
    const std::optional<std::string> url = Text(parameters.rgvarg[UrlArgument]);
    if (!IsCancel(cancel) || !url)
        return DISP_E_TYPEMISMATCH;
    const auto handler = m_handlers.NavigateError;
    if (!handler)
        return S_OK;
    bool cancelled = *cancel.pboolVal != VARIANT_FALSE;
    handler(*url, Text(parameters.rgvarg[FrameArgument]).value_or(std::string()),
            StatusCode(parameters.rgvarg[StatusCodeArgument]), cancelled);
    *cancel.pboolVal = cancelled ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

HRESULT TWebBrowserEvents::NewWindow(const DISPPARAMS& parameters)
{
    if (parameters.cArgs != NewWindowArgumentCount || !parameters.rgvarg)
        return DISP_E_BADPARAMCOUNT;
    const VARIANT& cancel = parameters.rgvarg[NewCancelArgument];
    if (!IsCancel(cancel))
        return DISP_E_TYPEMISMATCH;
    *cancel.pboolVal = VARIANT_TRUE;
    const VARIANT& flags = Value(parameters.rgvarg[FlagsArgument]);
    const bool userInitiated = (flags.vt == VT_I4 || flags.vt == VT_UI4) && (flags.ulVal & NWMF_USERINITED) != 0;
    const std::optional<std::string> url = Text(parameters.rgvarg[NewUrlArgument]);
    if (const auto handler = m_handlers.NewWindow; handler && userInitiated && url)
        handler(*url);
    return S_OK;
}

HRESULT TWebBrowserEvents::CommandStateChange(const DISPPARAMS& parameters)
{
    // In reverse order: whether it is enabled, then the command.
    if (parameters.cArgs != 2 || !parameters.rgvarg)
        return DISP_E_BADPARAMCOUNT;
    const VARIANT& enabled = Value(parameters.rgvarg[0]);
    const VARIANT& command = Value(parameters.rgvarg[1]);
    if (enabled.vt != VT_BOOL || command.vt != VT_I4)
        return DISP_E_TYPEMISMATCH;
    if (const auto handler = m_handlers.CommandStateChange)
        handler(command.lVal, enabled.boolVal != VARIANT_FALSE);
    return S_OK;
}
