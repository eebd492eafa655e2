#pragma once

#include "platform/Canvas.h"
#include "platform/win32/GdiObject.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// A picture as GDI blends it: a 32-bit bitmap, blue-green-red-alpha with the colours
// premultiplied by alpha, top row first.
class TWin32Picture : public TPicture
{
public:
    // pixels: width * height values 0xAARRGGBB, premultiplied.
    TWin32Picture(int width, int height, const std::vector<std::uint32_t>& pixels);

    int Width() const override { return m_width; }
    int Height() const override { return m_height; }
    HBITMAP Bitmap() const { return m_bitmap.Get(); }

private:
    int m_width;
    int m_height;
    TBitmap m_bitmap;
};

// A PNG picture compiled into the program as an RCDATA resource named after its file
// ("computer.png"). Throws EOstrelError when there is none or it cannot be read.
std::unique_ptr<TWin32Picture> LoadPictureResource(const std::string& name);
