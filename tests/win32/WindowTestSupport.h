#pragma once

#include "platform/Controls.h"
#include "platform/win32/Win32Platform.h"
#include "platform/windows/WindowsApi.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

// A fresh Win32 backend for each test: a test that ends the program ends it for good.
class WindowTest : public ::testing::Test
{
protected:
    WindowTest();
    // Actions a test left waiting go with it.
    ~WindowTest() override;

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
// A window's client area as it shows on the screen now.
struct TSnapshot
{
    int Width = 0;
    int Height = 0;
    std::vector<std::uint32_t> Pixels;

    // 0xRRGGBB.
    std::uint32_t At(int x, int y) const { return Pixels[static_cast<std::size_t>(y * Width + x)] & 0xFFFFFF; }
    bool operator==(const TSnapshot&) const = default;
};
TSnapshot Capture(HWND window);
