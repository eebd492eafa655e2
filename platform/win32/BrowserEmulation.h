#pragma once

// The WebBrowser control renders in the engine's oldest standards mode unless the registry
// names the program for a newer one, and it reads that once, when a process makes its first
// control. The first call in a process writes the current engine's own mode, for every page,
// under HKCU's Software\Microsoft\Internet Explorer\Main\FeatureControl\FEATURE_BROWSER_EMULATION,
// the value named after the program's file name; it must come before that first control. A
// failure is left silent: the view still works, only in the older mode.
void UseCurrentBrowserEmulation();

// The mode written.
constexpr unsigned long CurrentBrowserEmulation = 11001;
