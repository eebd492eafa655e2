// The widget scenarios' driver for the Win32 backend, on Wine's display.
#include "Win32WidgetDriver.h"

#include "platform/win32/ComPtr.h"
#include "platform/win32/Win32FormWindow.h"
#include "platform/win32/Win32Keyboard.h"
#include "platform/win32/Win32Picture.h"
#include "platform/win32/Win32PopupMenu.h"
#include "platform/windows/WideText.h"
#include "WidgetDriver.h"
#include "WindowTestSupport.h"

#include <commctrl.h>
#include <cstring>
#include <fstream>
#include <oleacc.h>
#include <sstream>

namespace {

std::uint32_t Rgb(COLORREF colour)
{
    return (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

TSnapshot CaptureClient(HWND window)
{
    RECT client = {};
    GetClientRect(window, &client);
    TSnapshot snapshot;
    snapshot.Width = client.right;
    snapshot.Height = client.bottom;
    snapshot.Pixels.resize(static_cast<std::size_t>(snapshot.Width * snapshot.Height));
    BITMAPINFO info = {};
    info.bmiHeader = { sizeof info.bmiHeader, snapshot.Width, -snapshot.Height, 1, 32, BI_RGB, 0, 0, 0, 0, 0 };
    void* bits = nullptr;
    const HDC screen = GetDC(window);
    const HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HDC memory = CreateCompatibleDC(screen);
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, snapshot.Width, snapshot.Height, screen, 0, 0, SRCCOPY);
    GdiFlush();
    std::memcpy(snapshot.Pixels.data(), bits, snapshot.Pixels.size() * 4);
    SelectObject(memory, previous);
    DeleteDC(memory);
    DeleteObject(bitmap);
    ReleaseDC(window, screen);
    for (std::uint32_t& pixel : snapshot.Pixels)
        pixel &= 0xFFFFFF;
    return snapshot;
}

WORD VirtualKey(const TKey& key)
{
    switch (key.Name) {
    case TKey::TName::Character:
        return static_cast<WORD>(key.Character);
    case TKey::TName::Down:
        return VK_DOWN;
    case TKey::TName::Tab:
        return VK_TAB;
    case TKey::TName::Enter:
        return VK_RETURN;
    case TKey::TName::Escape:
        return VK_ESCAPE;
    case TKey::TName::Space:
        return VK_SPACE;
    case TKey::TName::ContextMenu:
        break;
    }
    // The context-menu key; Shift+F10 would leave Wine's window in menu mode as F10 goes up.
    return VK_APPS;
}

// What a screen reader reads of a row through the list's accessible object, whose children
// are the rows numbered from 1; empty where it reads nothing.
std::string AccessibleText(HWND list, int row, HRESULT (STDMETHODCALLTYPE IAccessible::*property)(VARIANT, BSTR*))
{
    TComPtr<IAccessible> accessible;
    if (AccessibleObjectFromWindow(list, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible), accessible.PutVoid())
        != S_OK)
        return "(no accessible object)";
    VARIANT child;
    VariantInit(&child);
    child.vt = VT_I4;
    child.lVal = row + 1;
    BSTR text = nullptr;
    if ((accessible.Get()->*property)(child, &text) != S_OK || !text)
        return {};
    const std::string result = Narrow(std::wstring_view(text, SysStringLen(text)));
    SysFreeString(text);
    return result;
}

std::string KeyName(WPARAM key)
{
    switch (key) {
    case VK_RETURN:
        return "Enter";
    case VK_CONTROL:
        return "Ctrl";
    default:
        return key >= 'A' && key <= 'Z' ? std::string(1, static_cast<char>(key)) : "VK " + std::to_string(key);
    }
}

// Keeps the key messages a window gets; the text a down types comes after it as WM_CHAR.
LRESULT CALLBACK RecordStrokes(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR strokes)
{
    auto& recorded = *reinterpret_cast<std::vector<TKeyStroke>*>(strokes);
    // The last key typed is the session's own, to know when typing was taken (WindowTestSupport).
    if ((message == WM_KEYDOWN || message == WM_KEYUP) && wParam != VK_F24) {
        const bool injected = GetMessageExtraInfo() == static_cast<LPARAM>(TWin32Keyboard::InjectedKeyMarker);
        recorded.push_back({ KeyName(wParam), message == WM_KEYDOWN, "", injected });
    } else if (message == WM_CHAR) {
        const std::string text(1, static_cast<char>(wParam));
        if (!recorded.empty() && recorded.back().Down && recorded.back().Text.empty())
            recorded.back().Text = text;
        else
            recorded.push_back({ "", false, text, false });
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

std::string ReadFileBytes(const std::wstring& path)
{
    std::ifstream file(path.c_str(), std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

LOGFONTW FontOf(HWND window)
{
    LOGFONTW font = {};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font;
}

// Makes command the system's way of opening web addresses for as long as it lives.
class TBrowserCommand
{
public:
    explicit TBrowserCommand(const std::wstring& command)
    {
        wchar_t previous[1024] = {};
        DWORD size = sizeof previous;
        if (RegGetValueW(HKEY_CLASSES_ROOT, Key, nullptr, RRF_RT_REG_SZ, nullptr, previous, &size) == ERROR_SUCCESS)
            m_previous = previous;
        Set(command);
    }
    ~TBrowserCommand() { Set(m_previous); }
    TBrowserCommand(const TBrowserCommand&) = delete;
    TBrowserCommand& operator=(const TBrowserCommand&) = delete;

private:
    static constexpr const wchar_t* Key = L"https\\shell\\open\\command";

    static void Set(const std::wstring& command)
    {
        RegSetKeyValueW(HKEY_CLASSES_ROOT, Key, nullptr, REG_SZ, command.c_str(),
                        static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
    }

    std::wstring m_previous;
};

class TWin32WidgetDriver : public TWidgetDriver
{
public:
    TPlatform& Platform() override { return m_session.Platform(); }
    std::unique_ptr<TPicture> SolidPicture(int size, std::uint32_t colour) override
    {
        return std::make_unique<TWin32Picture>(
            size, size, std::vector<std::uint32_t>(static_cast<std::size_t>(size * size), 0xFF000000 | colour));
    }

    bool WaitFor(const std::function<bool()>& condition) override { return m_session.WaitFor(condition); }
    void RunSoon(std::function<void()> action) override { ::RunSoon(std::move(action)); }

    void Press(TControl& control, TMouseButton button, TPoint at) override
    {
        const UINT message = button == TMouseButton::Left ? WM_LBUTTONDOWN
            : button == TMouseButton::Right               ? WM_RBUTTONDOWN
                                                          : WM_MBUTTONDOWN;
        const WPARAM keys = button == TMouseButton::Left ? MK_LBUTTON
            : button == TMouseButton::Right              ? MK_RBUTTON
                                                         : MK_MBUTTON;
        SendMessageW(HandleOf(control), message, keys, MAKELPARAM(at.X, at.Y));
    }
    void Release(TControl& control, TMouseButton button, TPoint at) override
    {
        const UINT message = button == TMouseButton::Left ? WM_LBUTTONUP
            : button == TMouseButton::Right               ? WM_RBUTTONUP
                                                          : WM_MBUTTONUP;
        SendMessageW(HandleOf(control), message, 0, MAKELPARAM(at.X, at.Y));
    }
    void RequestMenu(TControl& control, TPoint at) override
    {
        const HWND window = HandleOf(control);
        POINT screen = { at.X, at.Y };
        if (at.X != -1 || at.Y != -1)
            ClientToScreen(window, &screen);
        SendMessageW(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), MAKELPARAM(screen.x, screen.y));
    }
    void Type(const std::vector<TKey>& keys) override
    {
        for (const TKey& key : keys) {
            std::vector<WORD> held;
            if (key.Ctrl)
                held.push_back(VK_CONTROL);
            if (key.Shift)
                held.push_back(VK_SHIFT);
            std::vector<INPUT> inputs;
            for (const WORD modifier : held)
                inputs.push_back(KeyInput(modifier, false));
            inputs.push_back(KeyInput(VirtualKey(key), false));
            inputs.push_back(KeyInput(VirtualKey(key), true));
            for (const WORD modifier : held)
                inputs.push_back(KeyInput(modifier, true));
            SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
        }
        // A menu's loop takes its keys itself once the action that typed them returns; a pump
        // here would hand them to the focused window instead.
        if (!OpenMenu())
            m_session.TypeAndWait({});
    }
    void Click(TButton& button) override { SendMessageW(HandleOf(button), BM_CLICK, 0, 0); }
    void CloseByFrame(TForm& form) override { SendMessageW(NativeWindow(form), WM_SYSCOMMAND, SC_CLOSE, 0); }
    bool Maximised(TForm& form) override { return IsZoomed(NativeWindow(form)); }
    void ShowNormalAt(TForm& form, int clientWidth, int clientHeight) override
    {
        const HWND window = NativeWindow(form);
        ShowWindow(window, SW_RESTORE);
        RECT frame = { 0, 0, clientWidth, clientHeight };
        AdjustWindowRectEx(&frame, GetWindowLongW(window, GWL_STYLE), FALSE, GetWindowLongW(window, GWL_EXSTYLE));
        SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                     SWP_NOMOVE | SWP_NOZORDER);
    }
    bool OwnedBy(TForm& owned, TForm& owner) override
    {
        return GetWindow(NativeWindow(owned), GW_OWNER) == NativeWindow(owner);
    }
    void ClearFocus() override { SetFocus(nullptr); }

    void RecordKeys() override
    {
        StopRecording();
        m_strokes.clear();
        m_recorded = GetFocus();
        if (!m_recorded)
            ADD_FAILURE() << "no control has the keyboard";
        SetWindowSubclass(m_recorded, RecordStrokes, 1, reinterpret_cast<DWORD_PTR>(&m_strokes));
    }
    std::vector<TKeyStroke> RecordedKeys() override
    {
        m_session.TypeAndWait({});
        return m_strokes;
    }

    TLabelLook Look(TLabel& label) override
    {
        const HWND window = HandleOf(label);
        const HDC dc = CreateCompatibleDC(nullptr);
        SendMessageW(GetParent(window), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(window));
        const COLORREF colour = GetTextColor(dc);
        DeleteDC(dc);
        SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        const LOGFONTW font = FontOf(window);
        return { Rgb(colour), font.lfWeight == FW_BOLD, font.lfUnderline != 0,
                 GetCursor() == LoadCursorW(nullptr, IDC_HAND) };
    }
    void Hover(TControl& control) override { SendMessageW(HandleOf(control), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5)); }
    void Leave(TControl& control) override { SendMessageW(HandleOf(control), WM_MOUSELEAVE, 0, 0); }
    std::string AddressOpenedBy(const std::function<void()>& action) override
    {
        // This test program stands in for the user's browser (WindowTestMain.cpp).
        wchar_t program[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, program, MAX_PATH);
        wchar_t folder[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, folder);
        const std::wstring opened = std::wstring(folder) + L"ostrel-opened-url.txt";
        DeleteFileW(opened.c_str());
        const TBrowserCommand browser(L"\"" + std::wstring(program) + L"\" --record-url \"%1\" \"" + opened + L"\"");
        action();
        WaitFor([&] { return !ReadFileBytes(opened).empty(); });
        return ReadFileBytes(opened);
    }

    TSnapshot Capture(TControl& control) override
    {
        const HWND window = HandleOf(control);
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        return CaptureClient(window);
    }
    std::uint32_t WindowColour(TListBox&) override { return Rgb(GetSysColor(COLOR_WINDOW)); }
    void MoveCaret(TListBox& list, int row) override
    {
        SendMessageW(HandleOf(list), LB_SETCARETINDEX, static_cast<WPARAM>(row), FALSE);
    }
    int VerticalScrollBarWidth(TListBox& list) override
    {
        return GetWindowLongW(HandleOf(list), GWL_STYLE) & WS_VSCROLL ? GetSystemMetrics(SM_CXVSCROLL) : 0;
    }
    bool ScrollsSideways(TListBox& list) override { return GetWindowLongW(HandleOf(list), GWL_STYLE) & WS_HSCROLL; }
    void ScrollDown(TListBox& list) override { SendMessageW(HandleOf(list), WM_VSCROLL, SB_LINEDOWN, 0); }

    bool MenuOpen() override { return OpenMenu(); }
    TPoint MenuTopLeft() override
    {
        RECT shown = {};
        GetWindowRect(OpenMenu(), &shown);
        return { shown.left, shown.top };
    }
    void CloseMenu() override { EndMenu(); }
    TPoint ToScreen(TControl& control, TPoint at) override
    {
        POINT screen = { at.X, at.Y };
        ClientToScreen(HandleOf(control), &screen);
        return { screen.x, screen.y };
    }
    std::vector<std::string> MenuCaptions(TPopupMenu& menu) override
    {
        const HMENU handle = dynamic_cast<TWin32PopupMenu&>(menu).Handle();
        std::vector<std::string> captions;
        for (int item = 0; item < GetMenuItemCount(handle); ++item) {
            wchar_t caption[64] = {};
            if (GetMenuStringW(handle, static_cast<UINT>(item), caption, 64, MF_BYPOSITION) > 0)
                captions.push_back(Narrow(caption));
        }
        return captions;
    }

    std::string AccessibleRowName(TListBox& list, int row) override
    {
        return AccessibleText(HandleOf(list), row, &IAccessible::get_accName);
    }
    std::string AccessibleRowDescription(TListBox& list, int row) override
    {
        return AccessibleText(HandleOf(list), row, &IAccessible::get_accDescription);
    }
    std::string SystemWithoutRowDescriptions() override
    {
        // Wine's accessible list boxes show no annotations; a Windows that drops them fails.
        const HMODULE system = GetModuleHandleW(L"ntdll.dll");
        return system && GetProcAddress(system, "wine_get_version") ? "Wine" : "";
    }

    ~TWin32WidgetDriver() override { StopRecording(); }

private:
    void StopRecording()
    {
        if (m_recorded && IsWindow(m_recorded))
            RemoveWindowSubclass(m_recorded, RecordStrokes, 1);
        m_recorded = nullptr;
    }

    TWindowSession m_session;
    HWND m_recorded = nullptr;
    std::vector<TKeyStroke> m_strokes;
};

} // namespace

HWND NativeWindow(TForm& form)
{
    return Win32WindowOf(form);
}

std::unique_ptr<TWidgetDriver> CreateWidgetDriver()
{
    return std::make_unique<TWin32WidgetDriver>();
}
