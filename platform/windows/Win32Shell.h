#pragma once

#include "platform/Shell.h"

class TWin32Shell : public TShell
{
public:
    void OpenUrl(const std::string& url) override;
};
