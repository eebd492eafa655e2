#pragma once

#include <functional>

// Runs one bound event handler on the UI thread; the window code's dispatch wrapper turns
// anything that escapes the handler into the default error report, so nothing reaches the
// system or OLE code that raised the event.
using TWin32Dispatch = std::function<void(const std::function<void()>& handler)>;
