#pragma once

#include <functional>

// Runs one bound event handler on the UI thread; the application's dispatch turns anything
// that escapes the handler into the default error report, so nothing reaches the toolkit's
// or the system's code that raised the event.
using TDispatch = std::function<void(const std::function<void()>& handler)>;
