#pragma once

#include "platform/Types.h"

#include <string>

// A picture made by the backend from one of the program's resources; drawn
// with its alpha channel blended over what lies beneath.
class TPicture
{
public:
    virtual ~TPicture() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
};

// What an owner-drawn row may paint with, in the coordinates of the list it draws (96-dpi
// pixels, Types.h); a "1-pixel" line is one of those pixels thick.
class TCanvas
{
public:
    virtual ~TCanvas() = default;
    // Fills rect with fill and draws a 1-pixel outline on its outermost pixels.
    virtual void Rectangle(const TRect& rect, TColor outline, TColor fill) = 0;
    // One line of text at the clip rectangle's top left, clipped to it and cut
    // with an ellipsis at its end when wider.
    virtual void TextOut(const TRect& clip, const std::string& text, TColor color) = 0;
    // Alpha-blends picture with its top-left corner at (x, y).
    virtual void Draw(int x, int y, const TPicture& picture) = 0;
};
