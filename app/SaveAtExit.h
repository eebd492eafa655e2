#pragma once

class TApplication;
class TForm1;

// While it lives, a process ending without a close saves the main window's list first: when
// the display goes away with a session that has no session manager, Qt's X11 platform ends the
// process through exit(), and its Wayland platform past exit handlers, which the application
// reports as the window system lost. The save touches only the list and the files, never a
// window, whose toolkit is gone by then. Once per process; one at a time.
class TSaveAtExit
{
public:
    TSaveAtExit(TForm1& form1, TApplication& application);
    ~TSaveAtExit();
    TSaveAtExit(const TSaveAtExit&) = delete;
    TSaveAtExit& operator=(const TSaveAtExit&) = delete;

private:
    TApplication& m_application;
};
