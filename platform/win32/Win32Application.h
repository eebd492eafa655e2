#pragma once

#include "platform/common/DesktopApplication.h"
#include "platform/win32/InjectedKeys.h"
#include "platform/windows/WindowsApi.h"

#include <string>
#include <vector>

class TWin32FormWindow;

// The application object of the Win32 backend: the UI thread's message loops, the modal
// boxes and the wakes of the hand-offs from worker threads.
class TWin32Application : public TDesktopApplication
{
public:
    TWin32Application();
    ~TWin32Application() override;
    TWin32Application(const TWin32Application&) = delete;
    TWin32Application& operator=(const TWin32Application&) = delete;

    void ProcessMessages() override;
    std::uint32_t GetTickCount() override;
    void Sleep(std::uint32_t milliseconds) override;
    void MaskDivisionByZero() override;

    // Waits for the next message and handles it as the main loop does; modal loops run on it.
    void HandleNextMessage();
    // The keys of Ostrel's own injections that the loop has still to see.
    TInjectedKeys& InjectedKeys() { return m_injectedKeys; }

protected:
    void RunMainLoop() override;
    void EndLoops() override;
    void ShowBox(const std::string& caption, const std::string& text) override;
    std::string ProgramPath() const override;

private:
    static LRESULT CALLBACK GateProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // Key preview, the web view's keys and Tab navigation first, then the usual translation.
    void Route(MSG& message);
    TWin32FormWindow* FormOf(HWND window) const;
    bool IsGateMessage(const MSG& message) const;
    void WakeGate();
    void WakeGateLater();
    HWND BoxOwner() const;

    const DWORD m_uiThread;
    HWND m_gate = nullptr;
    // The message boxes open now, innermost last; null until the box's window exists.
    std::vector<HWND> m_openBoxes;
    TInjectedKeys m_injectedKeys;
    // Whether the key message handled last came from Ostrel's own injection.
    bool m_injectedKey = false;
};
