#pragma once

#include "platform/Controls.h"
#include "platform/win32/Win32Platform.h"
#include "platform/windows/WindowsApi.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

// A fresh Win32 backend with the means to wait on it: a test that ends the program ends it
// for good.
class TWindowSession
{
public:
    TWindowSession();
    // Actions a test left waiting go with it.
    ~TWindowSession();
    TWindowSession(const TWindowSession&) = delete;
    TWindowSession& operator=(const TWindowSession&) = delete;

    TWin32Platform& Platform() { return *m_platform; }
    TWin32Application& Application() { return m_platform->Win32Application(); }

    // Dispatches messages as the program's pumps do until condition holds; false after 10 s.
    bool WaitFor(const std::function<bool()>& condition);
    // Types keys on the system's keyboard, each pressed and released, and dispatches messages
    // until the thread has handled the last of them. Not within another such wait: both
    // count on the same key typed last.
    void TypeAndWait(const std::vector<WORD>& virtualKeys);

private:
    std::unique_ptr<TWin32Platform> m_platform = std::make_unique<TWin32Platform>();
    HHOOK m_keyHook;
};

// The Win32 backend's own window tests, one session each.
class WindowTest : public ::testing::Test
{
protected:
    TWin32Platform& Platform() { return m_session.Platform(); }
    TWin32Application& Application() { return m_session.Application(); }
    bool WaitFor(const std::function<bool()>& condition) { return m_session.WaitFor(condition); }
    void TypeAndWait(const std::vector<WORD>& virtualKeys) { m_session.TypeAndWait(virtualKeys); }

private:
    TWindowSession m_session;
};

// The window of a control of this backend.
HWND HandleOf(TControl& control);

// Runs action from the thread's message loop, whichever loop that is then (a modal form's,
// a message box's, a menu's), once the loops in progress have taken their turn.
void RunSoon(std::function<void()> action);

// Keys typed on the system's keyboard, each pressed and released; Shift held for those in shifted.
void Type(const std::vector<WORD>& virtualKeys, const std::vector<WORD>& shifted = {});

// The message box open on this thread, or null.
HWND OpenBox();
// The popup menu open on this thread, or null.
HWND OpenMenu();
// The texts of the labels inside a window.
std::vector<std::string> StaticTexts(HWND window);
