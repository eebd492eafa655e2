#pragma once

#include "platform/Form.h"
#include "platform/windows/WindowsApi.h"

// The window of a form of the Win32 backend: the one place the tests reach it.
HWND NativeWindow(TForm& form);
