#pragma once

#include <cstdint>

// Geometry and colours shared by every layer. Every size and position, in declarations, lists
// and canvases alike, is in pixels at 96 dpi: on a denser display the backend scales them,
// pictures included, so a 16-pixel picture covers 16 of these pixels whatever the display.

struct TPoint
{
    int X = 0;
    int Y = 0;
};

struct TRect
{
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    // Half-open, as the toolkits define it: the right column and bottom row lie outside.
    bool Contains(TPoint p) const { return Left <= p.X && p.X < Right && Top <= p.Y && p.Y < Bottom; }
};

// A control's place as a form designer stores it: left, top, width, height.
struct TBounds
{
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
};

// 0xRRGGBB.
using TColor = std::uint32_t;

enum class TMouseButton { Left, Right, Middle };

struct TShiftState
{
    bool Shift = false;
    bool Ctrl = false;
    bool Alt = false;
};
