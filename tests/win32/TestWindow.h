#pragma once

#include "platform/windows/WindowsApi.h"

#include <functional>

// A shown top-level window with a child area for the web view, as the main window gives it.
class TTestWindow
{
public:
    static constexpr int AreaLeft = 8;
    static constexpr int AreaTop = 1;
    static constexpr int AreaWidth = 612;
    static constexpr int AreaHeight = 433;

    TTestWindow();
    TTestWindow(const TTestWindow&) = delete;
    TTestWindow& operator=(const TTestWindow&) = delete;
    ~TTestWindow();

    HWND TopLevel() const { return m_topLevel; }
    HWND Area() const { return m_area; }
    // A child of the top-level window beside the area, as another control would be.
    HWND Sibling() const { return m_sibling; }

private:
    HWND m_topLevel;
    HWND m_area;
    HWND m_sibling;
};

// Dispatches the thread's messages until done() holds or the deadline of milliseconds has
// passed; true when done() held.
bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds = 20000);

// The window a parent holds of a class, or null.
HWND ChildOfClass(HWND parent, const wchar_t* className);
