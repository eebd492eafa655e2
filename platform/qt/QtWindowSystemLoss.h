#pragma once

class TApplication;

// Qt's Wayland platform ends the process with _exit when the compositor goes away, from its
// event thread and right after its warning, so neither exit handlers nor the end of the event
// loop run. The warning passes through the message handler first: this watches for it there
// and has the application's OnWindowSystemLost run on the UI thread before the process ends.
// One at a time.
class TQtWindowSystemLoss
{
public:
    explicit TQtWindowSystemLoss(TApplication& application);
    ~TQtWindowSystemLoss();
    TQtWindowSystemLoss(const TQtWindowSystemLoss&) = delete;
    TQtWindowSystemLoss& operator=(const TQtWindowSystemLoss&) = delete;
};
