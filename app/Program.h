#pragma once

class TPlatform;

// The whole program on a backend: makes the main window and the address dialog, runs the
// event loop until the main window closes, and takes everything down in order. Returns the
// program's exit code: 1 when its windows could not be made, which it reports first.
int RunProgram(TPlatform& platform);
