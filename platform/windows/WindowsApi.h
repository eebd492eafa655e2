#pragma once

// The Windows API as the backend includes it. windows.h defines some function names as
// macros that would rename Ostrel's own methods of the same name in every file that sees
// them (TFileSystem::ReplaceFile would become ReplaceFileW, TCanvas::TextOut TextOutW), so
// those macros go here.
#include <windows.h>

#undef ReplaceFile
#undef TextOut
