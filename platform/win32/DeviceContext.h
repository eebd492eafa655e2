#pragma once

#include "platform/windows/WindowsApi.h"

// Owners for device contexts and the state selected into them. The system has few common
// contexts to lend, so each one goes back on every path, and a context must hold its own
// objects again before it is released or deleted.

// A window's device context (the screen's for no window), lent by GetDC until ReleaseDC.
class TWindowDc
{
public:
    explicit TWindowDc(HWND window)
        : m_window(window)
        , m_dc(GetDC(window))
    { }
    TWindowDc(const TWindowDc&) = delete;
    TWindowDc& operator=(const TWindowDc&) = delete;
    ~TWindowDc()
    {
        if (m_dc)
            ReleaseDC(m_window, m_dc);
    }

    HDC Get() const { return m_dc; }

private:
    HWND m_window;
    HDC m_dc;
};

// A memory device context like another, made by CreateCompatibleDC until DeleteDC.
class TMemoryDc
{
public:
    explicit TMemoryDc(HDC like)
        : m_dc(CreateCompatibleDC(like))
    { }
    TMemoryDc(const TMemoryDc&) = delete;
    TMemoryDc& operator=(const TMemoryDc&) = delete;
    ~TMemoryDc()
    {
        if (m_dc)
            DeleteDC(m_dc);
    }

    HDC Get() const { return m_dc; }

private:
    HDC m_dc;
};

// Selects an object (font, bitmap, brush) into a context and puts back the one it replaced.
class TSelectedObject
{
public:
    TSelectedObject(HDC dc, HGDIOBJ object)
        : m_dc(dc)
        , m_previous(SelectObject(dc, object))
    { }
    TSelectedObject(const TSelectedObject&) = delete;
    TSelectedObject& operator=(const TSelectedObject&) = delete;
    ~TSelectedObject()
    {
        if (m_previous)
            SelectObject(m_dc, m_previous);
    }

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

// Saves a context's whole state (objects, colours, clipping) and restores it when the owner
// goes, with every state saved after it.
class TSavedDcState
{
public:
    explicit TSavedDcState(HDC dc)
        : m_dc(dc)
        , m_saved(SaveDC(dc))
    { }
    TSavedDcState(const TSavedDcState&) = delete;
    TSavedDcState& operator=(const TSavedDcState&) = delete;
    ~TSavedDcState()
    {
        if (m_saved != 0)
            RestoreDC(m_dc, m_saved);
    }

private:
    HDC m_dc;
    int m_saved;
};
