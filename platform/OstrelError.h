#pragma once

#include <stdexcept>
#include <string>

// The one exception type of the program: its message is the text the user sees.
class EOstrelError : public std::runtime_error
{
public:
    explicit EOstrelError(const std::string& message)
        : std::runtime_error(message)
    { }
};
