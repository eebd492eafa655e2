#pragma once

#include "platform/Shell.h"

// Hands web addresses to the desktop's default browser.
class TQtShell : public TShell
{
public:
    void OpenUrl(const std::string& url) override;
};
