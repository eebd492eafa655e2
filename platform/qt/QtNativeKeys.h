#pragma once

#include <QtGlobal>

// The native codes a key event carries on Linux. The web engine takes a page's
// KeyboardEvent.code from the scan code, read as an XKB key code (the evdev
// code + 8), so an injected key must carry the code of the key a user would press.
struct TNativeKey
{
    quint32 ScanCode; // XKB key code
    quint32 VirtualKey; // X keysym
};

struct TControlMKeys
{
    TNativeKey Control;
    TNativeKey M;
    quint32 ControlModifier; // the X modifier state while Control is held
};

// The keys that the keyboard layout in use maps to left Control and to "M": on X11
// read from the server's keyboard mapping at each call, so a switch of layout counts;
// on other platforms, and for a key the mapping lacks, their places on a PC keyboard.
TControlMKeys CurrentControlMKeys();
