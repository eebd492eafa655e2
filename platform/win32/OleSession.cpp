#include "platform/win32/OleSession.h"

#include "platform/win32/ComError.h"
#include "platform/windows/WindowsApi.h"

#include <ole2.h>

TOleSession::TOleSession()
{
    // S_FALSE means OLE was running on this thread already; it still counts as a start.
    ThrowIfFailed(OleInitialize(nullptr), "Cannot start OLE on the window thread");
}

TOleSession::~TOleSession()
{
    // Text copied from a page is offered by an object of this apartment; rendered now, it
    // stays on the clipboard after the apartment, and the program, is gone.
    OleFlushClipboard();
    OleUninitialize();
}
