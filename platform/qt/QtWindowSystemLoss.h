#pragma once

class TApplication;

// Qt's Wayland platform ends the process with _exit when the compositor goes away, from its
// event thread or the UI thread, whichever meets the broken connection, right after its
// warning: neither exit handlers nor the end of the event loop run. The warning passes through
// the message handler first: this watches for it there, has the application's
// OnWindowSystemLost run on the UI thread, and holds up every thread that heard of it, for a
// few seconds at most, until that is done. One at a time.
class TQtWindowSystemLoss
{
public:
    explicit TQtWindowSystemLoss(TApplication& application);
    ~TQtWindowSystemLoss();
    TQtWindowSystemLoss(const TQtWindowSystemLoss&) = delete;
    TQtWindowSystemLoss& operator=(const TQtWindowSystemLoss&) = delete;
};
