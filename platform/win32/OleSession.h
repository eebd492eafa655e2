#pragma once

// Holds OLE initialised on the calling thread, as a single-threaded apartment, for as long
// as it lives. OLE counts its starts per thread, so each owner may hold its own session;
// every call on the objects made under it has to come from that same thread.
class TOleSession
{
public:
    // Throws EOstrelError when the thread already runs in a multithreaded apartment.
    TOleSession();
    TOleSession(const TOleSession&) = delete;
    TOleSession& operator=(const TOleSession&) = delete;
    // Leaves what the program put on the clipboard there, rendered (OleFlushClipboard).
    ~TOleSession();
};
