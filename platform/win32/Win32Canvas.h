#pragma once

#include "platform/Canvas.h"
#include "platform/win32/DeviceContext.h"
#include "platform/windows/WindowsApi.h"

// A TCanvas over a device context, for the owner-drawn rows. Coordinates are the context's
// pixels; text is drawn in the font the canvas is given.
class TWin32Canvas : public TCanvas
{
public:
    TWin32Canvas(HDC dc, HFONT font);
    TWin32Canvas(const TWin32Canvas&) = delete;
    TWin32Canvas& operator=(const TWin32Canvas&) = delete;

    void Rectangle(const TRect& rect, TColor outline, TColor fill) override;
    void TextOut(const TRect& clip, const std::string& text, TColor color) override;
    void Draw(int x, int y, const TPicture& picture) override;

private:
    HDC m_dc;
    const TSavedDcState m_savedState;
};
