#pragma once

#include <string>

// The WebBrowser control renders in the engine's oldest standards mode unless the registry
// names the program for a newer one, and it reads that once, when a process makes its first
// control. The first call in a process sets the current engine's own mode, for every page,
// for the program's file name (UseBrowserEmulationUnlessChosen); it must come before that
// first control. A failure is left silent: the view still works, only in the older mode.
void UseCurrentBrowserEmulation();

// Writes CurrentBrowserEmulation as the value named program under HKCU's
// Software\Microsoft\Internet Explorer\Main\FeatureControl\FEATURE_BROWSER_EMULATION, unless
// HKCU or HKLM already has a value of that name there: an existing choice is never changed.
void UseBrowserEmulationUnlessChosen(const std::wstring& program);

// The mode written.
constexpr unsigned long CurrentBrowserEmulation = 11001;
