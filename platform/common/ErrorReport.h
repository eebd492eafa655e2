#pragma once

#include <string>
#include <string_view>

// The default error report's text: the message, with a full stop added when its
// last character's code is above that of the full stop.
std::string ExceptionReportText(std::string_view message);

// The application title, which is the default error report's caption: the program
// file's name without its folder, cut at its first dot, every letter after the
// first in lower case.
std::string ApplicationTitle(std::string_view programPath);
