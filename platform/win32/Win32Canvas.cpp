#include "platform/win32/Win32Canvas.h"

#include "platform/win32/GdiObject.h"
#include "platform/win32/Win32Picture.h"
#include "platform/windows/WideText.h"

#include <string_view>

namespace {

RECT ToRect(const TRect& rect)
{
    return { rect.Left, rect.Top, rect.Right, rect.Bottom };
}

void Fill(HDC dc, const RECT& rect, TColor color)
{
    const TBrush brush(CreateSolidBrush(ToColorRef(color)));
    FillRect(dc, &rect, brush.Get());
}

// The next line of text and the rest after its line break (CR LF, CR or LF).
std::wstring_view NextLine(std::wstring_view& text)
{
    const auto end = text.find_first_of(L"\r\n");
    const std::wstring_view line = text.substr(0, end);
    if (end == std::wstring_view::npos)
        text = {};
    else
        text.remove_prefix(end + (text.substr(end, 2) == L"\r\n" ? 2 : 1));
    return line;
}

} // namespace

TWin32Canvas::TWin32Canvas(HDC dc, HFONT font)
    : m_dc(dc)
    , m_savedState(dc)
{
    // Undone with the saved state: the owner-draw message lends the context for the drawing only.
    SelectObject(m_dc, font);
    SetBkMode(m_dc, TRANSPARENT);
}

void TWin32Canvas::Rectangle(const TRect& rect, TColor outline, TColor fill)
{
    if (rect.Width() <= 0 || rect.Height() <= 0)
        return;
    const RECT area = ToRect(rect);
    Fill(m_dc, area, outline);
    const RECT inside = { area.left + 1, area.top + 1, area.right - 1, area.bottom - 1 };
    if (inside.right > inside.left && inside.bottom > inside.top)
        Fill(m_dc, inside, fill);
}

void TWin32Canvas::TextOut(const TRect& clip, const std::string& text, TColor color)
{
    if (clip.Width() <= 0 || clip.Height() <= 0 || text.empty())
        return;
    const TSavedDcState saved(m_dc);
    IntersectClipRect(m_dc, clip.Left, clip.Top, clip.Right, clip.Bottom);
    SetTextColor(m_dc, ToColorRef(color));
    TEXTMETRICW metrics = {};
    GetTextMetricsW(m_dc, &metrics);
    // Never wrapped: only a line break in the text starts a new line, each one cut on its own.
    const std::wstring wide = Widen(text);
    std::wstring_view rest = wide;
    for (int top = clip.Top; top < clip.Bottom; top += metrics.tmHeight) {
        const std::wstring_view line = NextLine(rest);
        RECT lineArea = { clip.Left, top, clip.Right, top + metrics.tmHeight };
        // DrawTextW's ellipsis is three full stops, as the rows want it.
        DrawTextW(m_dc, line.data(), static_cast<int>(line.size()), &lineArea,
                  DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
        if (rest.empty())
            break;
    }
}

void TWin32Canvas::Draw(int x, int y, const TPicture& picture)
{
    // Every picture handed to this backend's canvas was made by this backend.
    const auto& bitmap = static_cast<const TWin32Picture&>(picture);
    const TMemoryDc source(m_dc);
    const TSelectedObject selected(source.Get(), bitmap.Bitmap());
    const BLENDFUNCTION blend = { AC_SRC_OVER, 0, 255, AC_SRC_ALPHA };
    AlphaBlend(m_dc, x, y, bitmap.Width(), bitmap.Height(), source.Get(), 0, 0, bitmap.Width(), bitmap.Height(), blend);
}
