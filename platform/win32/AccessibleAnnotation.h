#pragma once

#include "platform/win32/ComPtr.h"
#include "platform/windows/WindowsApi.h"

#include <oleacc.h>
#include <string>

// The accessibility properties that the annotation service adds to what the system derives
// from a window or one of its accessible children. Declared by oleacc.h, but in none of
// mingw-w64's import libraries.
namespace AccessibleProperty {
constexpr GUID Name = { 0x608d3df8, 0x8128, 0x4aa7, { 0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91 } };
constexpr GUID Description = { 0x4d48dfe4, 0xbd3f, 0x491f, { 0xa6, 0x48, 0x49, 0x2d, 0x6f, 0x20, 0xc5, 0x88 } };
} // namespace AccessibleProperty

// The annotation service, or none where the system has none.
TComPtr<IAccPropServices> AccessibleAnnotations();

// A window's own accessible name or description, over what the system derives from it (a
// static control's text, a list's label). Cleared when this goes; without the annotation
// service it does nothing.
class TAccessibleAnnotation
{
public:
    TAccessibleAnnotation(HWND window, const GUID& property);
    ~TAccessibleAnnotation();
    TAccessibleAnnotation(const TAccessibleAnnotation&) = delete;
    TAccessibleAnnotation& operator=(const TAccessibleAnnotation&) = delete;

    // Tells whoever listens of the change.
    void Set(const std::wstring& text);

private:
    const HWND m_window;
    const GUID m_property;
    TComPtr<IAccPropServices> m_services;
};
