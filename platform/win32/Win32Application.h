#pragma once

#include "platform/Application.h"
#include "platform/common/SyncGate.h"
#include "platform/win32/Win32Dispatch.h"
#include "platform/windows/WindowsApi.h"

#include <functional>
#include <string>
#include <vector>

class TWin32Form;

// The application object of the Win32 backend: the UI thread's message loops, the modal
// boxes, the hand-offs from worker threads and the dispatch wrapper every bound event runs in.
class TWin32Application : public TApplication
{
public:
    TWin32Application();
    ~TWin32Application() override;
    TWin32Application(const TWin32Application&) = delete;
    TWin32Application& operator=(const TWin32Application&) = delete;

    void Run(TForm& mainForm) override;
    void ProcessMessages() override;
    void Terminate() override;
    bool Terminated() const override { return m_terminated; }
    void ShowErrorBox(const std::string& message) override;
    void ShowException(const std::exception& error) override;
    std::uint32_t GetTickCount() override;
    void Sleep(std::uint32_t milliseconds) override;
    void MaskDivisionByZero() override;
    TSyncGate& SyncGate() override { return m_syncGate; }

    // Runs one bound event handler; whatever escapes it becomes the default error report,
    // so no exception ever crosses a window procedure.
    void Dispatch(const std::function<void()>& handler);
    TWin32Dispatch Dispatcher();

    // Waits for the next message and handles it as the main loop does; modal loops run on it.
    void HandleNextMessage();

    // The first form made becomes the main form: closing it ends the program.
    void FormCreated(TWin32Form& form);
    void FormDestroyed(TWin32Form& form);
    TWin32Form* MainForm() const { return m_mainForm; }

    // Modal showings end, cancelled, when the program is told to end.
    void ModalStarted(TWin32Form& form);
    void ModalEnded(TWin32Form& form);

private:
    static LRESULT CALLBACK GateProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // Key preview, the web view's keys and Tab navigation first, then the usual translation.
    void Route(MSG& message);
    TWin32Form* FormOf(HWND window) const;
    bool IsGateMessage(const MSG& message) const;
    void WakeGate();
    void WakeGateLater();
    void ShowBox(const std::wstring& caption, const std::wstring& text);
    HWND BoxOwner() const;

    const DWORD m_uiThread;
    HWND m_gate = nullptr;
    TSyncGate m_syncGate;
    std::vector<TWin32Form*> m_forms;
    TWin32Form* m_mainForm = nullptr;
    std::vector<TWin32Form*> m_modalForms;
    // The message boxes open now, innermost last; null until the box's window exists.
    std::vector<HWND> m_openBoxes;
    // Whether the key message handled last came from Ostrel's own injection.
    bool m_injectedKey = false;
    bool m_terminated = false;
};
