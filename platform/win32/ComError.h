#pragma once

#include "platform/windows/WindowsApi.h"

#include <string>
#include <string_view>

// The text the user sees for a failed COM call: what failed, the system's description of
// the code where it has one, and the code itself, "Cannot ...: Unspecified error (0x80004005)".
std::string ComErrorText(std::string_view what, HRESULT result);

// Throws EOstrelError with ComErrorText when result is a failure code; S_FALSE passes.
void ThrowIfFailed(HRESULT result, std::string_view what);
