#pragma once

class TForm1;

// While it lives, a process ending through exit() saves the main window's list first. Qt's
// platform plugins end the process that way, with no close, when the display goes away: the
// X server or Wayland compositor ending with a session that has no session manager. The save
// touches only the list and the files, never a window, whose toolkit is gone by then.
// One at a time.
class TSaveAtExit
{
public:
    explicit TSaveAtExit(TForm1& form1);
    ~TSaveAtExit();
    TSaveAtExit(const TSaveAtExit&) = delete;
    TSaveAtExit& operator=(const TSaveAtExit&) = delete;
};
