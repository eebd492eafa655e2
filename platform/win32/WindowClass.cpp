#include "platform/win32/WindowClass.h"

#include "platform/OstrelError.h"
#include "platform/windows/WideText.h"

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
    // The program's icon, at the sizes the title bar and Alt+Tab draw; a program without
    // one (a test) gets the system's.
    windowClass.hIcon = static_cast<HICON>(LoadImageW(instance, L"OSTREL", IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                                      GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR));
    windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, L"OSTREL", IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = name;
    if (!RegisterClassExW(&windowClass))
        throw EOstrelError("Cannot register the window class " + Narrow(name));
    return name;
}
