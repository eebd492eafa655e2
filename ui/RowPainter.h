#pragma once

#include "platform/Types.h"

#include <string>

class TCanvas;
class TPicture;
struct TInfo;

// Draws the list view's rows: the computer icon, the address text and, for an
// entry that answered discovery, the online badge. Colours follow the selection
// alone; focus changes nothing that is drawn.
class TRowPainter
{
public:
    static constexpr TColor SelectedFill = 0xD0E5FF;
    static constexpr TColor SelectedOutline = 0x84ACDD;
    static constexpr TColor Fill = 0xFFFFFF;
    static constexpr TColor Outline = 0xFFFFFF;
    static constexpr TColor TextColor = 0x333333;

    // Offsets inside a row, in pixels, kept as they are at any display scale.
    static constexpr int PictureLeft = 9;
    static constexpr int PictureTop = 9;
    static constexpr int TextLeft = 55;
    static constexpr int TextTop = 16;
    static constexpr int TextRightMargin = 5;

    TRowPainter(const TPicture& icon, const TPicture& badge)
        : m_icon(icon)
        , m_badge(badge)
    { }

    // status is the entry's record, or nullptr for an entry without one.
    void Draw(TCanvas& canvas, const TRect& rect, bool selected, const std::string& text, const TInfo* status) const;

private:
    const TPicture& m_icon;
    const TPicture& m_badge;
};
