#pragma once

#include "platform/win32/ComPtr.h"
#include "platform/win32/ComReferences.h"
#include "platform/windows/WindowsApi.h"

#include <docobj.h>
#include <functional>
#include <mshtmhst.h>
#include <oleidl.h>

// The host object of the WebBrowser control: its client site, in-place site and frame, UI
// handler and command target, all one COM object with one identity. The control reaches
// each part from the site through QueryInterface, as its container.
//
// The control shows itself in the area, a child window its creator owns. The object lives as
// long as anyone holds a reference (COM's rule; the control may keep one for a while after
// its owner lets go), so it is made on the heap by Create and deletes itself at its last
// Release; Detach cuts its link to the area when the owner goes, so a late call finds nothing.
// IOleInPlaceSite and IOleInPlaceFrame share IOleWindow::GetWindow, yet the site's window is
// the area and the frame's the top-level window: each base answers through its own name.
class TInPlaceSitePart : public IOleInPlaceSite
{
public:
    STDMETHODIMP GetWindow(HWND* window) final { return GetSiteWindow(window); }
    virtual HRESULT GetSiteWindow(HWND* window) = 0;
};

class TInPlaceFramePart : public IOleInPlaceFrame
{
public:
    STDMETHODIMP GetWindow(HWND* window) final { return GetFrameWindow(window); }
    virtual HRESULT GetFrameWindow(HWND* window) = 0;
};

class TWebBrowserSite final : public IOleClientSite,
                              public TInPlaceSitePart,
                              public TInPlaceFramePart,
                              public IDocHostUIHandler,
                              public IOleCommandTarget
{
public:
    // dpiAware: the process draws at the monitor's own resolution, so the page must too.
    static TComPtr<TWebBrowserSite> Create(HWND area, bool dpiAware);
    TWebBrowserSite(const TWebBrowserSite&) = delete;
    TWebBrowserSite& operator=(const TWebBrowserSite&) = delete;

    // Shows the page's context menu that the engine asks for: kind is one of the CONTEXT_MENU_
    // values, at a screen point, element the page's element under it. Without one the engine
    // shows its own.
    using TContextMenuHandler = std::function<void(DWORD kind, POINT at, IDispatch* element)>;
    void SetContextMenuHandler(TContextMenuHandler handler) { m_contextMenu = std::move(handler); }

    void Detach()
    {
        m_area = nullptr;
        m_contextMenu = {};
    }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IOleClientSite
    STDMETHODIMP SaveObject() override;
    STDMETHODIMP GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) override;
    STDMETHODIMP GetContainer(IOleContainer** container) override;
    STDMETHODIMP ShowObject() override;
    STDMETHODIMP OnShowWindow(BOOL show) override;
    STDMETHODIMP RequestNewObjectLayout() override;

    // IOleWindow: the in-place site's window is the area, the frame's the top-level window.
    HRESULT GetSiteWindow(HWND* window) override;
    HRESULT GetFrameWindow(HWND* window) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL enterMode) override;
    // The frame's and the UI handler's: while the engine shows a modal dialog of its own, the
    // top-level window takes no input. Calls nest; a window disabled before stays so.
    STDMETHODIMP EnableModeless(BOOL enable) override;

    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override;
    STDMETHODIMP OnInPlaceActivate() override;
    STDMETHODIMP OnUIActivate() override;
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, RECT* position, RECT* clip,
                                  OLEINPLACEFRAMEINFO* frameInfo) override;
    STDMETHODIMP Scroll(SIZE extent) override;
    STDMETHODIMP OnUIDeactivate(BOOL undoable) override;
    STDMETHODIMP OnInPlaceDeactivate() override;
    STDMETHODIMP DiscardUndoState() override;
    STDMETHODIMP DeactivateAndUndo() override;
    STDMETHODIMP OnPosRectChange(const RECT* position) override;

    // IOleInPlaceUIWindow and IOleInPlaceFrame
    STDMETHODIMP GetBorder(RECT* border) override;
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS widths) override;
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS widths) override;
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR name) override;
    STDMETHODIMP InsertMenus(HMENU shared, OLEMENUGROUPWIDTHS* widths) override;
    STDMETHODIMP SetMenu(HMENU shared, HOLEMENU descriptor, HWND activeObject) override;
    STDMETHODIMP RemoveMenus(HMENU shared) override;
    STDMETHODIMP SetStatusText(LPCOLESTR text) override;
    STDMETHODIMP TranslateAccelerator(MSG* message, WORD id) override;

    // IDocHostUIHandler
    STDMETHODIMP ShowContextMenu(DWORD id, POINT* at, IUnknown* target, IDispatch* object) override;
    STDMETHODIMP GetHostInfo(DOCHOSTUIINFO* info) override;
    STDMETHODIMP ShowUI(DWORD id, IOleInPlaceActiveObject* object, IOleCommandTarget* target, IOleInPlaceFrame* frame,
                        IOleInPlaceUIWindow* document) override;
    STDMETHODIMP HideUI() override;
    STDMETHODIMP UpdateUI() override;
    STDMETHODIMP OnDocWindowActivate(BOOL activate) override;
    STDMETHODIMP OnFrameWindowActivate(BOOL activate) override;
    STDMETHODIMP ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window, BOOL frameWindow) override;
    STDMETHODIMP TranslateAccelerator(LPMSG message, const GUID* group, DWORD command) override;
    STDMETHODIMP GetOptionKeyPath(LPOLESTR* key, DWORD reserved) override;
    STDMETHODIMP GetDropTarget(IDropTarget* target, IDropTarget** replacement) override;
    STDMETHODIMP GetExternal(IDispatch** external) override;
    STDMETHODIMP TranslateUrl(DWORD translate, LPWSTR url, LPWSTR* translated) override;
    STDMETHODIMP FilterDataObject(IDataObject* data, IDataObject** replacement) override;

    // IOleCommandTarget
    STDMETHODIMP QueryStatus(const GUID* group, ULONG count, OLECMD* commands, OLECMDTEXT* text) override;
    STDMETHODIMP Exec(const GUID* group, DWORD command, DWORD options, VARIANT* in, VARIANT* out) override;

private:
    TWebBrowserSite(HWND area, bool dpiAware);
    ~TWebBrowserSite() = default;

    friend class TComReferences<TWebBrowserSite>;
    TComReferences<TWebBrowserSite> m_references;
    HWND m_area;
    const bool m_dpiAware;
    TContextMenuHandler m_contextMenu;
    // How many EnableModeless(FALSE) are not yet undone, and the window the first disabled.
    int m_modelessOff = 0;
    HWND m_disabledFrame = nullptr;
};
