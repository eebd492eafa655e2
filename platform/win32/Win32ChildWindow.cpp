#include "platform/win32/Win32ChildWindow.h"

#include "platform/OstrelError.h"
#include "platform/win32/Dpi.h"
#include "platform/windows/WideText.h"

void TWin32Child::SetFont(HFONT font, const LOGFONTW&, unsigned)
{
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void TWin32Child::Notified(WORD) { }

void TWin32Child::DrawItem(const DRAWITEMSTRUCT&) { }

HBRUSH TWin32Child::StaticColors(HDC)
{
    return nullptr;
}

HWND CreateChildWindow(const TControlDecl& decl, const wchar_t* windowClass, DWORD style, DWORD extendedStyle,
                       HWND parent, int id)
{
    style |= WS_CHILD;
    if (decl.Visible)
        style |= WS_VISIBLE;
    if (decl.TabOrder >= 0)
        style |= WS_TABSTOP;
    const HWND window
        = CreateWindowExW(extendedStyle, windowClass, Widen(decl.Caption).c_str(), style, 0, 0, 0, 0, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (!window)
        throw EOstrelError("Cannot create the control " + decl.Name);
    return window;
}

TBounds WindowBounds(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    const unsigned dpi = WindowDpi(window);
    return { ToDesignPixels(rect.left, dpi), ToDesignPixels(rect.top, dpi), ToDesignPixels(rect.right - rect.left, dpi),
             ToDesignPixels(rect.bottom - rect.top, dpi) };
}
