#pragma once

#include "platform/Form.h"
#include "platform/win32/AccessibleAnnotation.h"
#include "platform/win32/GdiObject.h"
#include "platform/win32/Win32Dispatch.h"
#include "platform/windows/WindowsApi.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class TWin32Application;
class TWin32Child;
class TWin32PopupMenu;

// A form of the Win32 backend: a top-level window built from its declaration, with native
// controls laid out at the declared places scaled to the window's DPI.
class TWin32Form : public TForm
{
public:
    TWin32Form(const TFormDecl& decl, TWin32Application& application);
    ~TWin32Form() override;
    TWin32Form(const TWin32Form&) = delete;
    TWin32Form& operator=(const TWin32Form&) = delete;

    std::string Name() const override { return m_decl.Name; }
    std::string Caption() const override;
    void SetCaption(const std::string& caption) override;
    int ClientWidth() const override;
    int ClientHeight() const override;
    bool Visible() const override;

    TButton& Button(std::string_view name) override { return Find<TButton>(name); }
    TLabel& Label(std::string_view name) override { return Find<TLabel>(name); }
    TProgressBar& ProgressBar(std::string_view name) override { return Find<TProgressBar>(name); }
    TEdit& Edit(std::string_view name) override { return Find<TEdit>(name); }
    TListBox& ListBox(std::string_view name) override { return Find<TListBox>(name); }
    TPopupMenu& PopupMenu(std::string_view name) override;
    TWebBrowser& WebBrowser(std::string_view name) override { return Find<TWebBrowser>(name); }

    void Show() override;
    void Close() override;
    int ShowModal() override;
    void SetModalResult(int result) override;

    HWND Handle() const { return m_window; }
    // For the message loop: a key message aimed at the window or at a control in it. True when
    // the form took it (key preview, web view, Tab) and it must go no further. typed: the
    // key came from the keyboard, not from Ostrel's own injection.
    bool RouteKey(MSG& message, bool typed);

private:
    struct TPlaced
    {
        std::string Name;
        HWND Window;
        TBounds Bounds;
        TAnchors Anchors;
    };
    struct TWebViewArea
    {
        HWND Area;
        std::function<void()> FitToArea;
        std::function<bool(MSG&)> TranslateKey;
    };

    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void SetClientSize();
    void CreateControls();
    void CreateControl(const TControlDecl& decl, int id);
    template <class TNative> void Adopt(const TControlDecl& decl, std::unique_ptr<TNative> control);
    void CreateWebViewArea(const TControlDecl& decl, int id);
    // Z-order is the order Tab follows.
    void SetTabOrder();
    // The form's font and icons at dpi, handed to every control.
    void ApplyDpi(unsigned dpi);
    void LayOut();
    int Scaled(int designPixels) const;
    TWin32Child* ChildOf(HWND window) const;

    void Shown();
    bool PreviewKey(MSG& message);
    void RememberFocus();
    void RestoreFocus();

    template <class T> T& Find(std::string_view name)
    {
        const auto found = m_controls.find(name);
        auto* control = found == m_controls.end() ? nullptr : dynamic_cast<T*>(found->second.get());
        if (!control)
            ThrowNoControl(name);
        return *control;
    }
    [[noreturn]] void ThrowNoControl(std::string_view name) const;

    const TFormDecl m_decl;
    TWin32Application& m_application;
    const TWin32Dispatch m_dispatch;
    HWND m_window = nullptr;
    unsigned m_dpi = 96;
    TFont m_font;
    TIcon m_bigIcon;
    TIcon m_smallIcon;
    std::map<std::string, std::unique_ptr<TWin32PopupMenu>, std::less<>> m_popupMenus;
    std::map<std::string, std::unique_ptr<TControl>, std::less<>> m_controls;
    std::vector<TWin32Child*> m_children;
    std::vector<TPlaced> m_placed;
    std::vector<TWebViewArea> m_webViews;
    // After the controls, so they are cleared while the controls' windows are still there.
    std::vector<std::unique_ptr<TAccessibleAnnotation>> m_accessibleNames;
    // The control that had the focus when the window was last left, given it back on return.
    HWND m_focus = nullptr;
    bool m_modal = false;
    int m_modalResult = 0;
};
