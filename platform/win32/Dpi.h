#pragma once

#include "platform/windows/WindowsApi.h"

// The resolution a window is drawn at, in dots per inch: its monitor's where the system
// tells it (Windows 10 1607 and later), otherwise the system's.
unsigned WindowDpi(HWND window);

// A length in a window's pixels as pixels at 96 dpi, the unit of the form declarations.
int ToDesignPixels(int pixels, unsigned dpi);

// The resolution of the system: of the primary monitor when the session began.
unsigned SystemDpi();

// A DPI-aware page is drawn at the system's DPI; on a monitor of another one, this zoom, in
// percent, gives it the size it has on the others.
int PageZoomPercent(unsigned windowDpi, unsigned systemDpi);
