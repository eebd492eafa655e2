#pragma once

#include <functional>

// Runs one bound event handler on the UI thread; the form's dispatch wrapper
// turns anything that escapes the handler into the default error report.
using TQtDispatch = std::function<void(const std::function<void()>& handler)>;
