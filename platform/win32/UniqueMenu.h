#pragma once

#include "platform/win32/GdiObject.h"

// Owns a menu made with CreatePopupMenu, destroyed with its items when the owner goes. A
// menu a window holds as its menu bar is the window's to destroy: never give one to this.
using TUniqueMenu = TGdiHandle<HMENU, &DestroyMenu>;
