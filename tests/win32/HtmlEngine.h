#pragma once

#include "platform/win32/Win32WebBrowser.h"

#include <string>

// Wine renders HTML only with its Gecko package, which Debian's wine does not bring; without
// it pages never load, DownloadComplete never comes and the ready state stays at 1.
bool HtmlEngineMissing();

inline constexpr char NoHtmlEngine[] = "Wine has no HTML engine here (no Wine Gecko in /usr/share/wine/gecko), so no "
                                       "page loads; this check runs on Windows";

// The title of the page the view shows, or empty.
std::wstring PageTitle(TWin32WebBrowser& browser);
