#include "platform/win32/Dpi.h"

#include "platform/win32/DeviceContext.h"

namespace {

constexpr int DesignDpi = 96;

using TGetDpiForWindow = UINT(WINAPI*)(HWND);

} // namespace

unsigned WindowDpi(HWND window)
{
    // Looked up at run time: Windows 7 lacks the call.
    static const auto getDpiForWindow = reinterpret_cast<TGetDpiForWindow>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (getDpiForWindow) {
        if (const UINT dpi = getDpiForWindow(window))
            return dpi;
    }
    return SystemDpi();
}

unsigned SystemDpi()
{
    const TWindowDc screen(nullptr);
    const int dpi = GetDeviceCaps(screen.Get(), LOGPIXELSX);
    return dpi > 0 ? static_cast<unsigned>(dpi) : DesignDpi;
}

int PageZoomPercent(unsigned windowDpi, unsigned systemDpi)
{
    return systemDpi ? MulDiv(100, static_cast<int>(windowDpi), static_cast<int>(systemDpi)) : 100;
}

int ToDesignPixels(int pixels, unsigned dpi)
{
    return MulDiv(pixels, DesignDpi, static_cast<int>(dpi));
}
