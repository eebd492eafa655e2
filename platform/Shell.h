#pragma once

#include <string>

class TShell
{
public:
    virtual ~TShell() = default;
    // Opens url with the default action (the user's browser). Failures are ignored.
    virtual void OpenUrl(const std::string& url) = 0;
};
