#include "platform/win32/WindowClass.h"

#include "platform/OstrelError.h"
#include "platform/win32/WideText.h"

const wchar_t* WindowClass(const wchar_t* name, WNDPROC procedure, HBRUSH background)
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    if (GetClassInfoExW(instance, name, &windowClass))
        return name;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = name;
    if (!RegisterClassExW(&windowClass))
        throw EOstrelError("Cannot register the window class " + Narrow(name));
    return name;
}
