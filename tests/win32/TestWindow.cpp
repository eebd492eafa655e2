#include "TestWindow.h"

namespace {

constexpr wchar_t AreaClass[] = L"OstrelTestArea";

const wchar_t* RegisteredAreaClass()
{
    static const bool registered = [] {
        WNDCLASSW windowClass {};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = AreaClass;
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        return RegisterClassW(&windowClass) != 0;
    }();
    return registered ? AreaClass : L"STATIC";
}

} // namespace

TTestWindow::TTestWindow()
    : m_topLevel(CreateWindowExW(0, RegisteredAreaClass(), L"Ostrel web view test",
                                 WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 800, 600, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr))
    , m_area(CreateWindowExW(0, RegisteredAreaClass(), L"", WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, AreaLeft, AreaTop,
                             AreaWidth, AreaHeight, m_topLevel, nullptr, GetModuleHandleW(nullptr), nullptr))
    , m_sibling(CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, AreaLeft, AreaTop + AreaHeight + 4,
                                200, 20, m_topLevel, nullptr, GetModuleHandleW(nullptr), nullptr))
{ }

TTestWindow::~TTestWindow()
{
    DestroyWindow(m_topLevel);
}

bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (done())
            return true;
        if (GetTickCount() - start >= milliseconds)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

HWND ChildOfClass(HWND parent, const wchar_t* className)
{
    return FindWindowExW(parent, nullptr, className, nullptr);
}
