#include "platform/win32/Win32FormWindow.h"

#include "platform/common/AnchorLayout.h"
#include "platform/common/DeclaredForm.h"
#include "platform/common/FormRegistry.h"
#include "platform/OstrelError.h"
#include "platform/win32/Dpi.h"
#include "platform/win32/WebViewFactory.h"
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

TWin32FormWindow::TWin32FormWindow(const TFormDecl& decl, TFormEvents& events, TWin32FormHost host, HWND owner)
    : m_decl(decl)
    , m_events(events)
    , m_host(std::move(host))
    , m_nextId(FirstControlId)
{
    // A form made after the main form is its dialog: owned by it, so it stays over it and has
    // no task-bar button of its own. The frame keeps every box a main window has.
    const wchar_t* windowClass
        = WindowClass(L"OstrelForm", WindowProcedure, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    // The first showing puts the window wherever the system puts a new one.
    CreateWindowExW(FormExtendedStyle, windowClass, Widen(decl.Caption).c_str(), FormStyle, CW_USEDEFAULT,
                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, GetModuleHandleW(nullptr), this);
    if (!m_window)
        throw EOstrelError("Cannot create the window " + decl.Name);
    m_dpi = WindowDpi(m_window);
}

TWin32FormWindow::~TWin32FormWindow()
{
    // The controls are gone already: nothing the window's end sends may reach them.
    m_children.clear();
    if (m_window)
        DestroyWindow(m_window);
}

LRESULT CALLBACK TWin32FormWindow::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* form = WindowObject<TWin32FormWindow>(window, message, lParam);
    if (!form)
        return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCCREATE)
        form->m_window = window;
    LRESULT result = 0;
    // Nothing may escape into the system's code that sent the message.
    form->m_host.Dispatch([&] { result = form->HandleMessage(message, wParam, lParam); });
    if (message == WM_NCDESTROY)
        form->m_window = nullptr;
    return result;
}

LRESULT TWin32FormWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
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
        for (const auto& child : m_children) {
            if (child.FrameActivated)
                child.FrameActivated(LOWORD(wParam) != WA_INACTIVE);
        }
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
        m_events.CloseRequested();
        return 0;
    case WM_QUERYENDSESSION:
        // Another program or the user may still cancel the end: the list is saved, and the
        // program runs on until WM_ENDSESSION says the session really ends.
        if (!IsMain())
            break;
        m_events.SessionSaveRequested();
        return TRUE;
    case WM_ENDSESSION:
        if (wParam && IsMain())
            m_host.Terminate();
        return 0;
    default:
        break;
    }
    return DefWindowProcW(m_window, message, wParam, lParam);
}

bool TWin32FormWindow::IsMain() const
{
    return m_host.Forms.MainWindow() == this;
}

std::unique_ptr<TPopupMenu> TWin32FormWindow::CreatePopupMenu(const TControlDecl& decl)
{
    return std::make_unique<TWin32PopupMenu>(decl, m_host.Dispatch);
}

std::unique_ptr<TControl> TWin32FormWindow::CreateControl(const TControlDecl& decl, TPopupMenu* popupMenu)
{
    const int id = m_nextId++;
    switch (decl.Kind) {
    case TControlKind::Button:
        return Adopt(decl, std::make_unique<TWin32Button>(decl, m_window, id, m_host.Dispatch));
    case TControlKind::Label:
        return Adopt(decl, std::make_unique<TWin32Label>(decl, m_window, id, m_host.Dispatch));
    case TControlKind::ProgressBar:
        return Adopt(decl, std::make_unique<TWin32ProgressBar>(decl, m_window, id, m_host.Dispatch));
    case TControlKind::Edit:
        return Adopt(decl, std::make_unique<TWin32Edit>(decl, m_window, id, m_host.Dispatch));
    case TControlKind::ListBox: {
        auto listBox = std::make_unique<TWin32ListBox>(decl, m_window, id, m_host.Dispatch);
        // Every menu of the form is this window's own.
        listBox->SetPopupMenu(static_cast<TWin32PopupMenu*>(popupMenu));
        return Adopt(decl, std::move(listBox));
    }
    case TControlKind::WebBrowser:
        return CreateWebViewArea(decl, id);
    case TControlKind::PopupMenu:
        break;
    }
    throw EOstrelError("No window for the control " + decl.Name);
}

template <class TNative>
std::unique_ptr<TControl> TWin32FormWindow::Adopt(const TControlDecl& decl, std::unique_ptr<TNative> control)
{
    TChild child;
    child.Control = control.get();
    child.Window = control->Handle();
    child.Bounds = decl.Bounds;
    child.Anchors = decl.Anchors;
    child.Native = control.get();
    if (!decl.AccessibleName.empty()) {
        child.AccessibleName = std::make_unique<TAccessibleAnnotation>(control->Handle(), AccessibleProperty::Name);
        child.AccessibleName->Set(Widen(decl.AccessibleName));
    }
    m_children.push_back(std::move(child));
    return control;
}

std::unique_ptr<TControl> TWin32FormWindow::CreateWebViewArea(const TControlDecl& decl, int id)
{
    const wchar_t* areaClass
        = WindowClass(L"OstrelWebArea", DefWindowProcW, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    const HWND area = CreateChildWindow(decl, areaClass, WS_CLIPCHILDREN, 0, m_window, id);
    TWin32WebView view = CreateWebView(decl.Name, area, m_host.Dispatch);
    TChild child;
    child.Control = view.Browser.get();
    child.Window = area;
    child.Bounds = decl.Bounds;
    child.Anchors = decl.Anchors;
    child.FitToArea = std::move(view.FitToArea);
    child.TranslateKey = std::move(view.TranslateKey);
    child.FrameActivated = std::move(view.FrameActivated);
    m_children.push_back(std::move(child));
    return std::move(view.Browser);
}

void TWin32FormWindow::ControlsCreated(const std::vector<TControl*>& stops)
{
    ApplyDpi(m_dpi);
    SetTabOrder(stops);
    SetClientSize();
    LayOut();
}

void TWin32FormWindow::SetTabOrder(const std::vector<TControl*>& stops)
{
    HWND previous = HWND_TOP;
    for (const auto* stop : stops) {
        const auto child = std::ranges::find(m_children, stop, &TChild::Control);
        SetWindowPos(child->Window, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous = child->Window;
    }
}

void TWin32FormWindow::SetClientSize()
{
    RECT frame = { 0, 0, Scaled(m_decl.ClientWidth), Scaled(m_decl.ClientHeight) };
    AddFrame(frame, m_dpi);
    SetWindowPos(m_window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWin32FormWindow::ApplyDpi(unsigned dpi)
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
    for (const auto& child : m_children) {
        if (child.Native)
            child.Native->SetFont(font.Get(), description, dpi);
    }
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

int TWin32FormWindow::Scaled(int designPixels) const
{
    return MulDiv(designPixels, static_cast<int>(m_dpi), DesignDpi);
}

void TWin32FormWindow::LayOut()
{
    RECT client = {};
    GetClientRect(m_window, &client);
    const int declaredWidth = Scaled(m_decl.ClientWidth);
    const int declaredHeight = Scaled(m_decl.ClientHeight);
    for (const auto& child : m_children) {
        const TBounds& bounds = child.Bounds;
        RECT now = {};
        GetWindowRect(child.Window, &now);
        const TBounds scaled = { Scaled(bounds.Left), Scaled(bounds.Top), Scaled(bounds.Width), Scaled(bounds.Height) };
        // A label declared without a width keeps the width its caption gave it.
        const TBounds placed = AnchoredBounds(scaled, child.Anchors, now.right - now.left, declaredWidth,
                                              declaredHeight, client.right, client.bottom);
        SetWindowPos(child.Window, nullptr, placed.Left, placed.Top, placed.Width, placed.Height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    for (const auto& child : m_children) {
        if (child.FitToArea)
            child.FitToArea();
    }
}

TWin32Child* TWin32FormWindow::ChildOf(HWND window) const
{
    const auto found = std::ranges::find(m_children, window, &TChild::Window);
    return found == m_children.end() ? nullptr : found->Native;
}

std::string TWin32FormWindow::Caption() const
{
    return WindowText(m_window);
}

void TWin32FormWindow::SetCaption(const std::string& caption)
{
    SetWindowTextW(m_window, Widen(caption).c_str());
}

int TWin32FormWindow::ClientWidth() const
{
    RECT client = {};
    GetClientRect(m_window, &client);
    return ToDesignPixels(client.right, m_dpi);
}

int TWin32FormWindow::ClientHeight() const
{
    RECT client = {};
    GetClientRect(m_window, &client);
    return ToDesignPixels(client.bottom, m_dpi);
}

bool TWin32FormWindow::Visible() const
{
    return IsWindowVisible(m_window);
}

void TWin32FormWindow::Show(bool maximized)
{
    ShowWindow(m_window, maximized ? SW_SHOWMAXIMIZED : SW_SHOW);
    // Only the program's own showing counts: the system shows a window restored from the task
    // bar again without asking. The handler runs once the window is up, so that boxes it shows
    // lie above the window.
    m_events.Shown();
}

void TWin32FormWindow::Hide()
{
    ShowWindow(m_window, SW_HIDE);
}

void TWin32FormWindow::RunModal(const std::function<bool()>& ended)
{
    // The owner takes no input until the dialog closes; one disabled already stays so.
    const HWND owner = GetWindow(m_window, GW_OWNER);
    const bool ownerWasDisabled = owner && EnableWindow(owner, FALSE);
    ShowWindow(m_window, SW_SHOW);
    m_events.Shown();
    while (!ended())
        m_host.HandleNextMessage();
    // Enabled before the dialog hides, so that the system gives the owner back the focus.
    if (owner && !ownerWasDisabled)
        EnableWindow(owner, TRUE);
    ShowWindow(m_window, SW_HIDE);
}

void TWin32FormWindow::WakeModal()
{
    // The modal loop may wait for a message.
    PostMessageW(m_window, WM_NULL, 0, 0);
}

bool TWin32FormWindow::RouteKey(MSG& message, bool typed)
{
    if (message.message == WM_CHAR && typed) {
        auto key = static_cast<char16_t>(message.wParam);
        const bool swallowed = m_events.KeyTyped(key);
        message.wParam = key;
        if (swallowed)
            return true;
    }
    for (const auto& child : m_children) {
        if (child.TranslateKey && IsWithin(child.Window, message.hwnd) && child.TranslateKey(message))
            return true;
    }
    if (message.message != WM_KEYDOWN || message.wParam != VK_TAB)
        return false;
    // The page passed Tab on past its last element (or first, with Shift): the focus moves on
    // from the web view, whose inner windows the system's dialog navigation does not know.
    for (const auto& child : m_children) {
        if (child.TranslateKey && message.hwnd != child.Window && IsChild(child.Window, message.hwnd)) {
            if (const HWND next = GetNextDlgTabItem(m_window, child.Window, GetKeyState(VK_SHIFT) < 0))
                SetFocus(next);
            return true;
        }
    }
    // The system's dialog navigation, for Tab and Shift+Tab only: Enter and Escape stay with
    // the control that has the focus, so no button acts as a default or cancel button.
    return IsDialogMessageW(m_window, &message);
}

void TWin32FormWindow::RememberFocus()
{
    const HWND focus = GetFocus();
    if (focus && IsChild(m_window, focus))
        m_focus = focus;
}

void TWin32FormWindow::RestoreFocus()
{
    if (m_focus && IsChild(m_window, m_focus) && IsWindowVisible(m_focus) && IsWindowEnabled(m_focus)) {
        SetFocus(m_focus);
        return;
    }
    if (const HWND first = GetNextDlgTabItem(m_window, nullptr, FALSE))
        SetFocus(first);
}

HWND Win32WindowOf(TForm& form)
{
    return static_cast<TWin32FormWindow&>(static_cast<TDeclaredForm&>(form).Window()).Handle();
}
