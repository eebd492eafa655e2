#include "platform/win32/WebBrowserSite.h"

namespace {

// The command group of the engine's requests to its host. mingw-w64's libuuid lacks
// CGID_DocHostCommandHandler although mshtmhst.h declares it.
constexpr GUID DocHostCommandGroup = { 0xf38bc242, 0xb950, 0x11d1, { 0x89, 0x18, 0x00, 0xc0, 0x4f, 0xc2, 0xc8, 0x36 } };

template <class TOut> HRESULT Nothing(TOut** out, HRESULT result)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    return result;
}

} // namespace

TComPtr<TWebBrowserSite> TWebBrowserSite::Create(HWND area, bool dpiAware)
{
    return TComPtr<TWebBrowserSite>::Adopt(new TWebBrowserSite(area, dpiAware));
}

TWebBrowserSite::TWebBrowserSite(HWND area, bool dpiAware)
    : m_area(area)
    , m_dpiAware(dpiAware)
{ }

STDMETHODIMP TWebBrowserSite::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    // Every interface that shares IUnknown's layout is reached through the same base, so
    // the object's identity (its IUnknown pointer) is one and the same from every part.
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleClientSite))
        *object = static_cast<IOleClientSite*>(this);
    else if (IsEqualIID(iid, IID_IOleWindow) || IsEqualIID(iid, IID_IOleInPlaceSite))
        *object = static_cast<TInPlaceSitePart*>(this);
    else if (IsEqualIID(iid, IID_IOleInPlaceUIWindow) || IsEqualIID(iid, IID_IOleInPlaceFrame))
        *object = static_cast<TInPlaceFramePart*>(this);
    else if (IsEqualIID(iid, IID_IDocHostUIHandler))
        *object = static_cast<IDocHostUIHandler*>(this);
    else if (IsEqualIID(iid, IID_IOleCommandTarget))
        *object = static_cast<IOleCommandTarget*>(this);
    else
        return Nothing(object, E_NOINTERFACE);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) TWebBrowserSite::AddRef()
{
    return m_references.AddRef();
}

STDMETHODIMP_(ULONG) TWebBrowserSite::Release()
{
    return m_references.Release(this);
}

// IOleClientSite: the control is never saved and lives in no container document.
STDMETHODIMP TWebBrowserSite::SaveObject()
{
    return E_NOTIMPL;
}
STDMETHODIMP TWebBrowserSite::GetMoniker(DWORD, DWORD, IMoniker** moniker)
{
    return Nothing(moniker, E_NOTIMPL);
}
STDMETHODIMP TWebBrowserSite::GetContainer(IOleContainer** container)
{
    return Nothing(container, E_NOINTERFACE);
}
STDMETHODIMP TWebBrowserSite::ShowObject()
{
    return S_OK;
}
STDMETHODIMP TWebBrowserSite::OnShowWindow(BOOL)
{
    return S_OK;
}
STDMETHODIMP TWebBrowserSite::RequestNewObjectLayout()
{
    return E_NOTIMPL;
}

// IOleWindow
HRESULT TWebBrowserSite::GetSiteWindow(HWND* window)
{
    if (!window)
        return E_POINTER;
    *window = m_area;
    return m_area ? S_OK : E_FAIL;
}
HRESULT TWebBrowserSite::GetFrameWindow(HWND* window)
{
    if (!window)
        return E_POINTER;
    *window = m_area ? GetAncestor(m_area, GA_ROOT) : nullptr;
    return *window ? S_OK : E_FAIL;
}
STDMETHODIMP TWebBrowserSite::ContextSensitiveHelp(BOOL)
{
    return E_NOTIMPL;
}
STDMETHODIMP TWebBrowserSite::EnableModeless(BOOL enable)
{
    if (!enable) {
        const HWND frame = m_area ? GetAncestor(m_area, GA_ROOT) : nullptr;
        // EnableWindow answers whether the window was disabled already.
        if (m_modelessOff++ == 0 && frame && !EnableWindow(frame, FALSE))
            m_disabledFrame = frame;
    } else if (m_modelessOff > 0 && --m_modelessOff == 0 && m_disabledFrame) {
        EnableWindow(m_disabledFrame, TRUE);
        m_disabledFrame = nullptr;
    }
    return S_OK;
}

// IOleInPlaceSite: the control may always show itself in place, filling the area.
STDMETHODIMP TWebBrowserSite::CanInPlaceActivate()
{
    return m_area ? S_OK : S_FALSE;
}
STDMETHODIMP TWebBrowserSite::OnInPlaceActivate()
{
    return S_OK;
}
STDMETHODIMP TWebBrowserSite::OnUIActivate()
{
    return S_OK;
}
STDMETHODIMP TWebBrowserSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, RECT* position,
                                               RECT* clip, OLEINPLACEFRAMEINFO* frameInfo)
{
    if (!frame || !document || !position || !clip || !frameInfo)
        return E_POINTER;
    *document = nullptr;
    *frame = nullptr;
    if (!m_area)
        return E_FAIL;
    *frame = this;
    AddRef();
    GetClientRect(m_area, position);
    *clip = *position;
    // The caller sets frameInfo->cb to the size it knows.
    frameInfo->fMDIApp = FALSE;
    frameInfo->hwndFrame = GetAncestor(m_area, GA_ROOT);
    frameInfo->haccel = nullptr;
    frameInfo->cAccelEntries = 0;
    return S_OK;
}
STDMETHODIMP TWebBrowserSite::Scroll(SIZE)
{
    return S_OK;
}
STDMETHODIMP TWebBrowserSite::OnUIDeactivate(BOOL)
{
    return S_OK;
}
STDMETHODIMP TWebBrowserSite::OnInPlaceDeactivate()
{
    return S_OK;
}
STDMETHODIMP TWebBrowserSite::DiscardUndoState()
{
    return S_OK;
}
STDMETHODIMP TWebBrowserSite::DeactivateAndUndo()
{
    return S_OK;
}
// The area's owner decides the control's size.
STDMETHODIMP TWebBrowserSite::OnPosRectChange(const RECT*)
{
    return S_OK;
}

// IOleInPlaceUIWindow and IOleInPlaceFrame: the window has no toolbars, menus or status bar
// to share with the control.
STDMETHODIMP TWebBrowserSite::GetBorder(RECT*)
{
    return INPLACE_E_NOTOOLSPACE;
}
STDMETHODIMP TWebBrowserSite::RequestBorderSpace(LPCBORDERWIDTHS)
{
    return INPLACE_E_NOTOOLSPACE;
}
STDMETHODIMP TWebBrowserSite::SetBorderSpace(LPCBORDERWIDTHS)
{
    return S_OK;
}
STDMETHODIMP TWebBrowserSite::SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR)
{
    return S_OK;
}
STDMETHODIMP TWebBrowserSite::InsertMenus(HMENU, OLEMENUGROUPWIDTHS*)
{
    return S_OK;
}
STDMETHODIMP TWebBrowserSite::SetMenu(HMENU, HOLEMENU, HWND)
{
    return S_OK;
}
STDMETHODIMP TWebBrowserSite::RemoveMenus(HMENU)
{
    return S_OK;
}
STDMETHODIMP TWebBrowserSite::SetStatusText(LPCOLESTR)
{
    return S_OK;
}
// The window has no accelerator table of its own for the control's keys.
STDMETHODIMP TWebBrowserSite::TranslateAccelerator(MSG*, WORD)
{
    return S_FALSE;
}

// IDocHostUIHandler
// S_OK: the host showed the menu; S_FALSE: the engine shows its own.
STDMETHODIMP TWebBrowserSite::ShowContextMenu(DWORD kind, POINT* at, IUnknown*, IDispatch* element)
{
    if (!m_contextMenu || !at)
        return S_FALSE;
    // A copy: the handler may detach this site while it runs.
    const auto handler = m_contextMenu;
    handler(kind, *at, element);
    return S_OK;
}
STDMETHODIMP TWebBrowserSite::GetHostInfo(DOCHOSTUIINFO* info)
{
    if (!info || info->cbSize < sizeof(DOCHOSTUIINFO))
        return E_INVALIDARG;
    info->dwFlags = DOCHOSTUIFLAG_NO3DBORDER | (m_dpiAware ? DOCHOSTUIFLAG_DPI_AWARE : 0);
    info->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
    info->pchHostCss = nullptr;
    info->pchHostNS = nullptr;
    return S_OK;
}
// S_OK: the host shows its own user interface, which is none, so no engine toolbar or menu
// is merged into the window.
STDMETHODIMP TWebBrowserSite::ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                                     IOleInPlaceUIWindow*)
{
    return S_OK;
}
STDMETHODIMP TWebBrowserSite::HideUI()
{
    return S_OK;
}
STDMETHODIMP TWebBrowserSite::UpdateUI()
{
    return S_OK;
}
STDMETHODIMP TWebBrowserSite::OnDocWindowActivate(BOOL)
{
    return S_OK;
}
STDMETHODIMP TWebBrowserSite::OnFrameWindowActivate(BOOL)
{
    return S_OK;
}
STDMETHODIMP TWebBrowserSite::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL)
{
    return S_OK;
}
// S_FALSE: the engine handles the key as it would anywhere.
STDMETHODIMP TWebBrowserSite::TranslateAccelerator(LPMSG, const GUID*, DWORD)
{
    return S_FALSE;
}
// The engine's own settings, not a key of the program's.
STDMETHODIMP TWebBrowserSite::GetOptionKeyPath(LPOLESTR* key, DWORD)
{
    return Nothing(key, S_FALSE);
}
STDMETHODIMP TWebBrowserSite::GetDropTarget(IDropTarget*, IDropTarget** replacement)
{
    return Nothing(replacement, E_NOTIMPL);
}
// Pages get no object of the program's through window.external.
STDMETHODIMP TWebBrowserSite::GetExternal(IDispatch** external)
{
    return Nothing(external, S_FALSE);
}
STDMETHODIMP TWebBrowserSite::TranslateUrl(DWORD, LPWSTR, LPWSTR* translated)
{
    return Nothing(translated, S_FALSE);
}
STDMETHODIMP TWebBrowserSite::FilterDataObject(IDataObject*, IDataObject** replacement)
{
    return Nothing(replacement, S_FALSE);
}

// IOleCommandTarget: every query and command counts as answered and carried out by the host,
// which does nothing, so no dialog of the engine's (a script error above all) is shown.
STDMETHODIMP TWebBrowserSite::QueryStatus(const GUID*, ULONG, OLECMD*, OLECMDTEXT*)
{
    return S_OK;
}
STDMETHODIMP TWebBrowserSite::Exec(const GUID* group, DWORD command, DWORD, VARIANT*, VARIANT* out)
{
    // Left unchanged, the answer to a script error would stop every script of the page;
    // true lets them go on, as they do where nothing reports the error.
    if (group && IsEqualGUID(*group, DocHostCommandGroup) && command == OLECMDID_SHOWSCRIPTERROR && out) {
        VariantClear(out);
        out->vt = VT_BOOL;
        out->boolVal = VARIANT_TRUE;
    }
    return S_OK;
}
