#pragma once

#include "platform/Types.h"
#include "platform/windows/WindowsApi.h"

#include <utility>

// Owns a GDI object (font, brush, bitmap), an icon or a menu, freed by Free when the owner goes: the
// system counts them per process, so none may leak across repaints and DPI changes.
template <class THandle, auto Free> class TGdiHandle
{
public:
    TGdiHandle() = default;
    explicit TGdiHandle(THandle handle)
        : m_handle(handle)
    { }
    TGdiHandle(TGdiHandle&& other) noexcept
        : m_handle(std::exchange(other.m_handle, nullptr))
    { }
    TGdiHandle& operator=(TGdiHandle&& other) noexcept
    {
        if (this != &other) {
            Reset();
            m_handle = std::exchange(other.m_handle, nullptr);
        }
        return *this;
    }
    TGdiHandle(const TGdiHandle&) = delete;
    TGdiHandle& operator=(const TGdiHandle&) = delete;
    ~TGdiHandle() { Reset(); }

    THandle Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }

private:
    void Reset()
    {
        if (THandle handle = std::exchange(m_handle, nullptr))
            Free(handle);
    }

    THandle m_handle = nullptr;
};

using TFont = TGdiHandle<HFONT, &DeleteObject>;
using TBrush = TGdiHandle<HBRUSH, &DeleteObject>;
using TBitmap = TGdiHandle<HBITMAP, &DeleteObject>;
using TIcon = TGdiHandle<HICON, &DestroyIcon>;

// A colour of the program (0xRRGGBB) as GDI takes it.
inline COLORREF ToColorRef(TColor color)
{
    return RGB((color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF);
}
