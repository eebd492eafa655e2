#include "platform/win32/Win32BasicControls.h"

#include "platform/win32/DeviceContext.h"
#include "platform/windows/WideText.h"

#include <windowsx.h>

namespace {

constexpr LPARAM KeyWasDown = LPARAM(1) << 30;

} // namespace

TWin32Button::TWin32Button(const TControlDecl& decl, HWND parent, int id, TDispatch dispatch)
    : TWin32Control(decl.Name, CreateChildWindow(decl, WC_BUTTONW, BS_PUSHBUTTON, 0, parent, id), std::move(dispatch))
{
    Subclass();
}

void TWin32Button::Notified(WORD code)
{
    if (code == BN_CLICKED)
        Raise(OnClick);
}

LRESULT TWin32Button::Subclassed(UINT message, WPARAM wParam, LPARAM lParam)
{
    // The system's button takes only Space; Enter presses the focused button as the key goes
    // down, not at its character, which the injected Control+M would give a second time. A
    // held key repeats its WM_KEYDOWN with bit 30 (the key was down already): one press, one click.
    if (message == WM_KEYDOWN && wParam == VK_RETURN) {
        if (!(lParam & KeyWasDown))
            Raise(OnClick);
        return 0;
    }
    return DefaultProcedure(message, wParam, lParam);
}

TWin32Label::TWin32Label(const TControlDecl& decl, HWND parent, int id, TDispatch dispatch)
    // A caption may come from the network or from the user: no "&" in it marks an access key.
    : TWin32Control(decl.Name, CreateChildWindow(decl, WC_STATICW, SS_LEFT | SS_NOPREFIX | SS_NOTIFY, 0, parent, id),
                    std::move(dispatch))
    , m_autoSize(decl.Bounds.Width == 0)
    , m_bold(decl.Bold)
    , m_transparent(decl.Transparent)
    , m_handCursor(decl.Cursor == TCursorKind::HandPoint)
    , m_color(decl.FontColor)
{
    Subclass();
    if (!decl.AccessibleName.empty())
        m_description = std::make_unique<TAccessibleAnnotation>(Handle(), AccessibleProperty::Description);
}

std::string TWin32Label::Caption() const
{
    return WindowText(Handle());
}

void TWin32Label::SetCaption(const std::string& caption)
{
    SetWindowTextW(Handle(), Widen(caption).c_str());
    if (m_description)
        m_description->Set(Widen(caption));
    FitCaption();
}

void TWin32Label::SetUnderlined(bool underlined)
{
    m_underlined = underlined;
    ApplyFont();
}

void TWin32Label::SetFont(HFONT, const LOGFONTW& description, unsigned)
{
    m_formFont = description;
    ApplyFont();
}

void TWin32Label::ApplyFont()
{
    LOGFONTW font = m_formFont;
    font.lfWeight = m_bold ? FW_BOLD : FW_NORMAL;
    font.lfUnderline = m_underlined;
    TFont made(CreateFontIndirectW(&font));
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(made.Get()), TRUE);
    // The control still used the old font until now.
    m_font = std::move(made);
    FitCaption();
}

void TWin32Label::FitCaption()
{
    if (!m_autoSize)
        return;
    const std::wstring caption = Widen(Caption());
    SIZE extent = {};
    {
        const TWindowDc dc(Handle());
        const TSelectedObject font(dc.Get(), m_font.Get());
        GetTextExtentPoint32W(dc.Get(), caption.c_str(), static_cast<int>(caption.size()), &extent);
    }
    RECT rect = {};
    GetWindowRect(Handle(), &rect);
    SetWindowPos(Handle(), nullptr, 0, 0, extent.cx, rect.bottom - rect.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HBRUSH TWin32Label::StaticColors(HDC dc)
{
    SetTextColor(dc, m_color ? ToColorRef(*m_color) : GetSysColor(COLOR_WINDOWTEXT));
    // The form's plain button-face background shows through either way.
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    SetBkMode(dc, m_transparent ? TRANSPARENT : OPAQUE);
    return GetSysColorBrush(COLOR_BTNFACE);
}

LRESULT TWin32Label::Subclassed(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEMOVE:
        if (!m_pointerInside) {
            // The system reports the pointer leaving only once asked to, each time anew.
            TRACKMOUSEEVENT track = { sizeof track, TME_LEAVE, Handle(), 0 };
            TrackMouseEvent(&track);
            m_pointerInside = true;
            Raise(OnMouseEnter);
        }
        break;
    case WM_MOUSELEAVE:
        m_pointerInside = false;
        Raise(OnMouseLeave);
        return 0;
    case WM_SETCURSOR:
        if (m_handCursor) {
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            return TRUE;
        }
        break;
    case WM_LBUTTONDOWN:
        m_pressed = true;
        SetCapture(Handle());
        return 0;
    case WM_LBUTTONUP: {
        // A click is a primary-button press and release over the label, like a button's.
        if (!std::exchange(m_pressed, false))
            return 0;
        ReleaseCapture();
        RECT client = {};
        GetClientRect(Handle(), &client);
        if (PtInRect(&client, { GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam) }))
            Raise(OnClick);
        return 0;
    }
    case WM_CAPTURECHANGED:
        m_pressed = false;
        break;
    default:
        break;
    }
    return DefaultProcedure(message, wParam, lParam);
}

TWin32ProgressBar::TWin32ProgressBar(const TControlDecl& decl, HWND parent, int id, TDispatch dispatch)
    : TWin32Control(decl.Name, CreateChildWindow(decl, PROGRESS_CLASSW, 0, 0, parent, id), std::move(dispatch))
{
    SendMessageW(Handle(), PBM_SETRANGE32, 0, decl.Max);
    SendMessageW(Handle(), PBM_SETPOS, 0, 0);
}

int TWin32ProgressBar::Position() const
{
    return static_cast<int>(SendMessageW(Handle(), PBM_GETPOS, 0, 0));
}

void TWin32ProgressBar::SetPosition(int position)
{
    SendMessageW(Handle(), PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

TWin32Edit::TWin32Edit(const TControlDecl& decl, HWND parent, int id, TDispatch dispatch)
    : TWin32Control(decl.Name,
                    CreateChildWindow(decl, WC_EDITW, ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, parent, id),
                    std::move(dispatch))
{
    // 0 lifts the limit of 30000 characters the system starts with to the most it can hold.
    SendMessageW(Handle(), EM_SETLIMITTEXT, 0, 0);
    Subclass();
}

std::string TWin32Edit::Text() const
{
    return WindowText(Handle());
}

void TWin32Edit::SetText(const std::string& text)
{
    SetWindowTextW(Handle(), Widen(text).c_str());
}

LRESULT TWin32Edit::Subclassed(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
        // The edit box takes the focus inside its handling of the press.
        m_clicked = true;
        const LRESULT result = DefaultProcedure(message, wParam, lParam);
        m_clicked = false;
        return result;
    }
    case WM_SETFOCUS: {
        const LRESULT result = DefaultProcedure(message, wParam, lParam);
        // A click places the cursor where the user pointed instead.
        if (!m_clicked)
            SendMessageW(Handle(), EM_SETSEL, 0, -1);
        return result;
    }
    case WM_CHAR:
        // Enter and Escape do nothing here; the system's edit box would beep at them.
        if (wParam == L'\r' || wParam == L'\x1b')
            return 0;
        break;
    default:
        break;
    }
    return DefaultProcedure(message, wParam, lParam);
}

std::string WindowText(HWND window)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return Narrow(text);
}
