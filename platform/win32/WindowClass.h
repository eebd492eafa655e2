#pragma once

#include "platform/windows/WindowsApi.h"

// Registers one of the program's window classes the first time it is asked for; later calls
// find it registered. Returns the class name for CreateWindowExW.
const wchar_t* WindowClass(const wchar_t* name, WNDPROC procedure, HBRUSH background);

// The object a window of the program's classes was made for: CreateWindowExW's last argument,
// kept in the window at WM_NCCREATE. Null for the few messages that come before it.
template <class T> T* WindowObject(HWND window, UINT message, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* object = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
        return object;
    }
    return reinterpret_cast<T*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}
