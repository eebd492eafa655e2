#pragma once

#include "platform/common/Dispatch.h"
#include "platform/Form.h"
#include "platform/FormWindow.h"
#include "platform/win32/AccessibleAnnotation.h"
#include "platform/win32/GdiObject.h"
#include "platform/windows/WindowsApi.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TFormRegistry;
class TWin32Child;

// What a form's window needs of the application, which it does not know.
struct TWin32FormHost
{
    TDispatch Dispatch;
    // Waits for the next message and handles it as the main loop does; modal loops run on it.
    std::function<void()> HandleNextMessage;
    // Tells the main window, the only one the end of the session concerns.
    const TFormRegistry& Forms;
    std::function<void()> Terminate;
};

// The top-level window of one form on the Win32 backend, with its native controls laid out at
// the declared places scaled to the window's DPI.
class TWin32FormWindow : public TFormWindow
{
public:
    // owner: the main form's window, over which this one stays; null for the main form itself.
    TWin32FormWindow(const TFormDecl& decl, TFormEvents& events, TWin32FormHost host, HWND owner);
    ~TWin32FormWindow() override;
    TWin32FormWindow(const TWin32FormWindow&) = delete;
    TWin32FormWindow& operator=(const TWin32FormWindow&) = delete;

    std::string Caption() const override;
    void SetCaption(const std::string& caption) override;
    int ClientWidth() const override;
    int ClientHeight() const override;
    bool Visible() const override;

    std::unique_ptr<TPopupMenu> CreatePopupMenu(const TControlDecl& decl) override;
    std::unique_ptr<TControl> CreateControl(const TControlDecl& decl, TPopupMenu* popupMenu) override;
    void ControlsCreated(const std::vector<TControl*>& stops) override;

    void Show(bool maximized) override;
    void Hide() override;
    void RunModal(const std::function<bool()>& ended) override;
    void WakeModal() override;

    HWND Handle() const { return m_window; }
    // For the message loop: a key message aimed at the window or at a control in it. True when
    // the form took it (key preview, web view, Tab) and it must go no further. typed: the
    // key came from the keyboard, not from Ostrel's own injection.
    bool RouteKey(MSG& message, bool typed);

private:
    // A control's window, or a web view's area, with what the form does for it.
    struct TChild
    {
        const TControl* Control = nullptr;
        HWND Window = nullptr;
        TBounds Bounds;
        TAnchors Anchors;
        // Null for a web view.
        TWin32Child* Native = nullptr;
        // Set for a web view only.
        std::function<void()> FitToArea;
        std::function<bool(MSG&)> TranslateKey;
        std::function<void(bool)> FrameActivated;
        std::unique_ptr<TAccessibleAnnotation> AccessibleName;
    };

    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    template <class TNative>
    std::unique_ptr<TControl> Adopt(const TControlDecl& decl, std::unique_ptr<TNative> control);
    std::unique_ptr<TControl> CreateWebViewArea(const TControlDecl& decl, int id);
    // Z-order is the order Tab follows.
    void SetTabOrder(const std::vector<TControl*>& stops);
    void SetClientSize();
    // The form's font and icons at dpi, handed to every control.
    void ApplyDpi(unsigned dpi);
    void LayOut();
    int Scaled(int designPixels) const;
    TWin32Child* ChildOf(HWND window) const;
    bool IsMain() const;

    void RememberFocus();
    void RestoreFocus();

    const TFormDecl m_decl;
    TFormEvents& m_events;
    const TWin32FormHost m_host;
    HWND m_window = nullptr;
    unsigned m_dpi = 96;
    int m_nextId;
    TFont m_font;
    TIcon m_bigIcon;
    TIcon m_smallIcon;
    // Each entry is added once its control is whole, and all go before the window does.
    std::vector<TChild> m_children;
    // The control that had the focus when the window was last left, given it back on return.
    HWND m_focus = nullptr;
};

// The window of a form that this backend made.
HWND Win32WindowOf(TForm& form);
