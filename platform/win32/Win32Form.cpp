#include "platform/win32/Win32Form.h"

#include "platform/OstrelError.h"
#include "platform/win32/Dpi.h"
#include "platform/win32/WebViewFactory.h"
#include "platform/win32/Win32Application.h"
#include "platform/win32/Win32BasicControls.h"
#include "platform/win32/Win32ListBox.h"
#include "platform/win32/Win32PopupMenu.h"
#include "platform/win32/WindowClass.h"
#include "platform/windows/WideText.h"

#include <algorithm>
#include <cwchar>

namespace {

constexpr int DesignDpi = 96;
constexpr DWORD FormStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
// Tab goes on into a control that holds controls of its own, such as the web view's page.
constexpr DWORD FormExtendedStyle = WS_EX_CONTROLPARENT;
// Below IDOK and IDCANCEL nothing: the system sends those for Enter and Escape.
constexpr int FirstControlId = 100;

// The frame around a client area at dpi; Windows 7 knows only the system's DPI.
void AddFrame(RECT& rect, unsigned dpi)
{
    using TAdjustForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = reinterpret_cast<TAdjustForDpi>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
    if (adjustForDpi)
        adjustForDpi(&rect, FormStyle, FALSE, FormExtendedStyle, dpi);
    else
        AdjustWindowRectEx(&rect, FormStyle, FALSE, FormExtendedStyle);
}

bool IsWithin(HWND outer, HWND window)
{
    return window == outer || IsChild(outer, window);
}

} // namespace

TWin32Form::TWin32Form(const TFormDecl& decl, TWin32Application& application)
    : m_decl(decl)
    , m_application(application)
    , m_dispatch(application.Dispatcher())
{
    // A form made after the main form is its dialog: owned by it, so it stays over it and has
    // no task-bar button of its own. The frame keeps every box a main window has.
    const TWin32Form* owner = application.MainForm();
    const wchar_t* windowClass
        = WindowClass(L"OstrelForm", WindowProcedure, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    // The first showing puts the window wherever the system puts a new one.
    CreateWindowExW(FormExtendedStyle, windowClass, Widen(decl.Caption).c_str(), FormStyle, CW_USEDEFAULT,
                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner ? owner->Handle() : nullptr, nullptr,
                    GetModuleHandleW(nullptr), this);
    if (!m_window)
        throw EOstrelError("Cannot create the window " + decl.Name);
    try {
        m_dpi = WindowDpi(m_window);
        CreateControls();
        ApplyDpi(m_dpi);
        SetTabOrder();
        SetClientSize();
        LayOut();
    } catch (...) {
        m_controls.clear();
        DestroyWindow(m_window);
        throw;
    }
    m_application.FormCreated(*this);
}

TWin32Form::~TWin32Form()
{
    m_application.FormDestroyed(*this);
    // The controls let go of their windows first; the web view needs its area until it is gone.
    m_children.clear();
    m_controls.clear();
    if (m_window)
        DestroyWindow(m_window);
}

LRESULT CALLBACK TWin32Form::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* form = WindowObject<TWin32Form>(window, message, lParam);
    if (!form)
        return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCCREATE)
        form->m_window = window;
    LRESULT result = 0;
    // Nothing may escape into the system's code that sent the message.
    form->m_dispatch([&] { result = form->HandleMessage(message, wParam, lParam); });
    if (message == WM_NCDESTROY)
        form->m_window = nullptr;
    return result;
}

LRESULT TWin32Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        if (TWin32Child* child = ChildOf(reinterpret_cast<HWND>(lParam)))
            child->Notified(HIWORD(wParam));
        return 0;
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (TWin32Child* child = ChildOf(item.hwndItem))
            child->DrawItem(item);
        return TRUE;
    }
    case WM_CTLCOLORSTATIC:
        if (TWin32Child* child = ChildOf(reinterpret_cast<HWND>(lParam))) {
            if (const HBRUSH background = child->StaticColors(reinterpret_cast<HDC>(wParam)))
                return reinterpret_cast<LRESULT>(background);
        }
        break;
    case WM_SIZE:
        // A minimised window has no client area to lay out; the controls keep their places.
        if (wParam != SIZE_MINIMIZED)
            LayOut();
        return 0;
    case WM_DPICHANGED: {
        ApplyDpi(HIWORD(wParam));
        const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(m_window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                     suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
        LayOut();
        return 0;
    }
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE)
            RememberFocus();
        else if (!HIWORD(wParam))
            RestoreFocus();
        return 0;
    case WM_SETFOCUS:
        RestoreFocus();
        return 0;
    case WM_CLOSE:
        // The form decides in its close query; the window stays until the form lets it go.
        Close();
        return 0;
    case WM_QUERYENDSESSION:
        // The end of the session is the main form's close, so the list is saved before it.
        if (m_application.MainForm() != this)
            break;
        Close();
        return TRUE;
    case WM_ENDSESSION:
        if (wParam && m_application.MainForm() == this)
            m_application.Terminate();
        return 0;
    default:
        break;
    }
    return DefWindowProcW(m_window, message, wParam, lParam);
}

void TWin32Form::SetClientSize()
{
    RECT frame = { 0, 0, Scaled(m_decl.ClientWidth), Scaled(m_decl.ClientHeight) };
    AddFrame(frame, m_dpi);
    SetWindowPos(m_window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWin32Form::CreateControls()
{
    // Menus first, so that a list declared before its menu can be given it.
    for (const auto& decl : m_decl.Controls) {
        if (decl.Kind == TControlKind::PopupMenu)
            m_popupMenus.emplace(decl.Name, std::make_unique<TWin32PopupMenu>(decl, m_dispatch));
    }
    int id = FirstControlId;
    for (const auto& decl : m_decl.Controls) {
        if (decl.Kind != TControlKind::PopupMenu)
            CreateControl(decl, id++);
    }
}

void TWin32Form::CreateControl(const TControlDecl& decl, int id)
{
    switch (decl.Kind) {
    case TControlKind::Button:
        return Adopt(decl, std::make_unique<TWin32Button>(decl, m_window, id, m_dispatch));
    case TControlKind::Label:
        return Adopt(decl, std::make_unique<TWin32Label>(decl, m_window, id, m_dispatch));
    case TControlKind::ProgressBar:
        return Adopt(decl, std::make_unique<TWin32ProgressBar>(decl, m_window, id, m_dispatch));
    case TControlKind::Edit:
        return Adopt(decl, std::make_unique<TWin32Edit>(decl, m_window, id, m_dispatch));
    case TControlKind::ListBox: {
        auto listBox = std::make_unique<TWin32ListBox>(decl, m_window, id, m_dispatch);
        if (!decl.PopupMenu.empty())
            listBox->SetPopupMenu(&static_cast<TWin32PopupMenu&>(PopupMenu(decl.PopupMenu)));
        return Adopt(decl, std::move(listBox));
    }
    case TControlKind::WebBrowser:
        return CreateWebViewArea(decl, id);
    case TControlKind::PopupMenu:
        return;
    }
}

template <class TNative> void TWin32Form::Adopt(const TControlDecl& decl, std::unique_ptr<TNative> control)
{
    m_children.push_back(control.get());
    m_placed.push_back({ decl.Name, control->Handle(), decl.Bounds, decl.Anchors });
    if (!decl.AccessibleName.empty()) {
        m_accessibleNames.push_back(
            std::make_unique<TAccessibleAnnotation>(control->Handle(), AccessibleProperty::Name));
        m_accessibleNames.back()->Set(Widen(decl.AccessibleName));
    }
    m_controls.emplace(decl.Name, std::move(control));
}

void TWin32Form::CreateWebViewArea(const TControlDecl& decl, int id)
{
    const wchar_t* areaClass
        = WindowClass(L"OstrelWebArea", DefWindowProcW, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    const HWND area = CreateChildWindow(decl, areaClass, WS_CLIPCHILDREN, 0, m_window, id);
    TWin32WebView view = CreateWebView(decl.Name, area, m_dispatch);
    m_webViews.push_back({ area, std::move(view.FitToArea), std::move(view.TranslateKey) });
    m_placed.push_back({ decl.Name, area, decl.Bounds, decl.Anchors });
    m_controls.emplace(decl.Name, std::move(view.Browser));
}

void TWin32Form::SetTabOrder()
{
    std::vector<const TControlDecl*> stops;
    for (const auto& decl : m_decl.Controls) {
        if (decl.TabOrder >= 0 && decl.Kind != TControlKind::PopupMenu)
            stops.push_back(&decl);
    }
    std::ranges::stable_sort(stops, {}, &TControlDecl::TabOrder);
    HWND previous = HWND_TOP;
    for (const auto* stop : stops) {
        const auto placed = std::ranges::find(m_placed, stop->Name, &TPlaced::Name);
        SetWindowPos(placed->Window, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous = placed->Window;
    }
}

void TWin32Form::ApplyDpi(unsigned dpi)
{
    m_dpi = dpi;
    LOGFONTW description = {};
    // Negative: the character height, without the line's internal leading.
    description.lfHeight = -Scaled(m_decl.Font.Height);
    description.lfWeight = FW_NORMAL;
    description.lfCharSet = DEFAULT_CHARSET;
    const std::wstring face = Widen(m_decl.Font.Name);
    wcsncpy(description.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    TFont font(CreateFontIndirectW(&description));
    for (auto* child : m_children)
        child->SetFont(font.Get(), description, dpi);
    // The controls used the old font until now.
    m_font = std::move(font);

    if (m_decl.IconResource.empty())
        return;
    // A program without its icon resource shows the system's.
    const std::wstring icon = Widen(m_decl.IconResource);
    const auto load = [&](int size) {
        return TIcon(static_cast<HICON>(
            LoadImageW(GetModuleHandleW(nullptr), icon.c_str(), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
    };
    TIcon big = load(Scaled(32));
    TIcon small = load(Scaled(16));
    SendMessageW(m_window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.Get()));
    SendMessageW(m_window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.Get()));
    m_bigIcon = std::move(big);
    m_smallIcon = std::move(small);
}

int TWin32Form::Scaled(int designPixels) const
{
    return MulDiv(designPixels, static_cast<int>(m_dpi), DesignDpi);
}

void TWin32Form::LayOut()
{
    RECT client = {};
    GetClientRect(m_window, &client);
    // Anchored sides keep their distance to the same side of the client area as declared.
    const int growX = client.right - Scaled(m_decl.ClientWidth);
    const int growY = client.bottom - Scaled(m_decl.ClientHeight);
    for (const auto& placed : m_placed) {
        const auto& anchors = placed.Anchors;
        const TBounds& bounds = placed.Bounds;
        RECT now = {};
        GetWindowRect(placed.Window, &now);
        // A label declared without a width keeps the width its caption gave it.
        const int width = bounds.Width == 0 ? now.right - now.left : Scaled(bounds.Width);
        const int left = Scaled(bounds.Left) + (anchors.Left || !anchors.Right ? 0 : growX);
        const int top = Scaled(bounds.Top) + (anchors.Top || !anchors.Bottom ? 0 : growY);
        const int stretchedWidth = width + (anchors.Left && anchors.Right ? growX : 0);
        const int stretchedHeight = Scaled(bounds.Height) + (anchors.Top && anchors.Bottom ? growY : 0);
        SetWindowPos(placed.Window, nullptr, left, top, std::max(stretchedWidth, 0), std::max(stretchedHeight, 0),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    for (const auto& view : m_webViews)
        view.FitToArea();
}

TWin32Child* TWin32Form::ChildOf(HWND window) const
{
    const auto found = std::ranges::find(m_children, window, &TWin32Child::Handle);
    return found == m_children.end() ? nullptr : *found;
}

std::string TWin32Form::Caption() const
{
    return WindowText(m_window);
}

void TWin32Form::SetCaption(const std::string& caption)
{
    SetWindowTextW(m_window, Widen(caption).c_str());
}

int TWin32Form::ClientWidth() const
{
    RECT client = {};
    GetClientRect(m_window, &client);
    return ToDesignPixels(client.right, m_dpi);
}

int TWin32Form::ClientHeight() const
{
    RECT client = {};
    GetClientRect(m_window, &client);
    return ToDesignPixels(client.bottom, m_dpi);
}

bool TWin32Form::Visible() const
{
    return IsWindowVisible(m_window);
}

TPopupMenu& TWin32Form::PopupMenu(std::string_view name)
{
    const auto found = m_popupMenus.find(name);
    if (found == m_popupMenus.end())
        ThrowNoControl(name);
    return *found->second;
}

void TWin32Form::Show()
{
    ShowWindow(m_window, m_decl.StartMaximized ? SW_SHOWMAXIMIZED : SW_SHOW);
    Shown();
}

void TWin32Form::Shown()
{
    // Only the program's own showing counts: the system shows a window restored from the task
    // bar again without asking. The handler runs once the window is up, so that boxes it shows
    // lie above the window.
    m_dispatch([this] {
        if (OnShow)
            OnShow();
    });
}

void TWin32Form::Close()
{
    bool canClose = true;
    m_dispatch([&] {
        if (OnCloseQuery)
            OnCloseQuery(canClose);
    });
    if (!canClose)
        return;
    if (m_modal)
        SetModalResult(ModalResultCancel);
    else if (m_application.MainForm() == this)
        m_application.Terminate();
    else
        ShowWindow(m_window, SW_HIDE);
}

int TWin32Form::ShowModal()
{
    if (m_application.Terminated())
        return ModalResultCancel;
    m_modalResult = 0;
    m_modal = true;
    // The owner takes no input until the dialog closes; one disabled already stays so.
    const HWND owner = GetWindow(m_window, GW_OWNER);
    const bool ownerWasDisabled = owner && EnableWindow(owner, FALSE);
    ShowWindow(m_window, SW_SHOW);
    m_application.ModalStarted(*this);
    Shown();
    while (m_modalResult == 0)
        m_application.HandleNextMessage();
    m_application.ModalEnded(*this);
    m_modal = false;
    // Enabled before the dialog hides, so that the system gives the owner back the focus.
    if (owner && !ownerWasDisabled)
        EnableWindow(owner, TRUE);
    ShowWindow(m_window, SW_HIDE);
    return m_modalResult;
}

void TWin32Form::SetModalResult(int result)
{
    m_modalResult = result;
    // Wakes the modal loop should it wait for a message.
    if (result != 0 && m_modal)
        PostMessageW(m_window, WM_NULL, 0, 0);
}

bool TWin32Form::RouteKey(MSG& message, bool typed)
{
    if (message.message == WM_CHAR && typed && PreviewKey(message))
        return true;
    for (const auto& view : m_webViews) {
        if (IsWithin(view.Area, message.hwnd) && view.TranslateKey(message))
            return true;
    }
    // The system's dialog navigation, for Tab and Shift+Tab only: Enter and Escape stay with
    // the control that has the focus, so no button acts as a default or cancel button.
    if (message.message == WM_KEYDOWN && message.wParam == VK_TAB)
        return IsDialogMessageW(m_window, &message);
    return false;
}

bool TWin32Form::PreviewKey(MSG& message)
{
    if (!m_decl.KeyPreview)
        return false;
    auto key = static_cast<char16_t>(message.wParam);
    m_dispatch([&] {
        if (OnKeyPress)
            OnKeyPress(key);
    });
    // A handler that clears the key swallows it; one that changes it passes on the new key.
    message.wParam = key;
    return key == 0;
}

void TWin32Form::RememberFocus()
{
    const HWND focus = GetFocus();
    if (focus && IsChild(m_window, focus))
        m_focus = focus;
}

void TWin32Form::RestoreFocus()
{
    if (m_focus && IsChild(m_window, m_focus) && IsWindowVisible(m_focus) && IsWindowEnabled(m_focus)) {
        SetFocus(m_focus);
        return;
    }
    if (const HWND first = GetNextDlgTabItem(m_window, nullptr, FALSE))
        SetFocus(first);
}

void TWin32Form::ThrowNoControl(std::string_view name) const
{
    throw EOstrelError("No control " + std::string(name) + " in " + m_decl.Name);
}
