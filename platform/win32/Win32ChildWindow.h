#pragma once

#include "platform/common/Dispatch.h"
#include "platform/Form.h"
#include "platform/windows/WindowsApi.h"

#include <commctrl.h>
#include <string>

// What a form needs of each native control it holds, beyond TControl: the messages the
// system sends the form about the control.
class TWin32Child
{
public:
    virtual ~TWin32Child() = default;
    virtual HWND Handle() const = 0;
    // The form's font, made anew whenever the window's DPI changes; the form keeps it alive.
    virtual void SetFont(HFONT font, const LOGFONTW& description, unsigned dpi);
    // A notification the control sent its form (WM_COMMAND).
    virtual void Notified(WORD code);
    // An owner-drawn control's request to draw (WM_DRAWITEM).
    virtual void DrawItem(const DRAWITEMSTRUCT& item);
    // The colours of a static control (WM_CTLCOLORSTATIC): the background brush, or null
    // for the system's.
    virtual HBRUSH StaticColors(HDC dc);
};

// A child window's place in its parent's client area, in 96-dpi pixels.
TBounds WindowBounds(HWND window);

// Makes a child window of the form at no place yet: the form lays its controls out.
HWND CreateChildWindow(const TControlDecl& decl, const wchar_t* windowClass, DWORD style, DWORD extendedStyle,
                       HWND parent, int id);

// The TControl part of a control backed by one child window, which goes with its form's
// window. Events go through the form's dispatch; a control that needs the messages aimed at
// it overrides Subclassed and calls Subclass once made.
template <class TBase> class TWin32Control : public TBase, public TWin32Child
{
public:
    TWin32Control(std::string name, HWND window, TDispatch dispatch)
        : m_name(std::move(name))
        , m_window(window)
        , m_dispatch(std::move(dispatch))
    { }
    ~TWin32Control() override
    {
        if (m_subclassed)
            RemoveWindowSubclass(m_window, SubclassProcedure, 0);
    }
    TWin32Control(const TWin32Control&) = delete;
    TWin32Control& operator=(const TWin32Control&) = delete;

    std::string Name() const override { return m_name; }
    bool Visible() const override { return GetWindowLongW(m_window, GWL_STYLE) & WS_VISIBLE; }
    void SetVisible(bool visible) override { ShowWindow(m_window, visible ? SW_SHOWNA : SW_HIDE); }
    bool Enabled() const override { return IsWindowEnabled(m_window); }
    void SetEnabled(bool enabled) override { EnableWindow(m_window, enabled); }
    TBounds Bounds() const override { return WindowBounds(m_window); }
    void SetFocus() override { ::SetFocus(m_window); }
    bool Focused() const override { return GetFocus() == m_window; }

    HWND Handle() const override { return m_window; }

protected:
    // Raises a bound event through the form's dispatch wrapper; an unbound event does nothing.
    template <class TEvent, class... TArgs> void Raise(const TEvent& event, TArgs&&... arguments)
    {
        m_dispatch([&] {
            if (event)
                event(std::forward<TArgs>(arguments)...);
        });
    }
    const TDispatch& Dispatch() const { return m_dispatch; }

    void Subclass()
    {
        m_subclassed = SetWindowSubclass(m_window, SubclassProcedure, 0, reinterpret_cast<DWORD_PTR>(this));
    }
    // A message for the control's window; DefaultProcedure gives it the control's own handling.
    virtual LRESULT Subclassed(UINT message, WPARAM wParam, LPARAM lParam)
    {
        return DefaultProcedure(message, wParam, lParam);
    }
    LRESULT DefaultProcedure(UINT message, WPARAM wParam, LPARAM lParam)
    {
        return DefSubclassProc(m_window, message, wParam, lParam);
    }

private:
    static LRESULT CALLBACK SubclassProcedure(HWND, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                              DWORD_PTR data)
    {
        auto* control = reinterpret_cast<TWin32Control*>(data);
        LRESULT result = 0;
        // Nothing may escape into the system's code that sent the message.
        control->m_dispatch([&] { result = control->Subclassed(message, wParam, lParam); });
        return result;
    }

    std::string m_name;
    HWND m_window;
    TDispatch m_dispatch;
    bool m_subclassed = false;
};
