#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <string>

class TForm;
class TSyncGate;

// The UI thread's application object.
class TApplication
{
public:
    virtual ~TApplication() = default;
    // Runs the event loop until the main form has closed or Terminate was asked for; the
    // main form is hidden when it returns, so that no window lingers while the program ends.
    virtual void Run(TForm& mainForm) = 0;
    // Dispatches every pending event, hand-offs from worker threads included, and returns at
    // once: the hand-offs hold it for at most TSyncGate::PumpTime, the rest waits for the next pump.
    virtual void ProcessMessages() = 0;
    // Asks the event loop to end once control is back in it. Every modal form and message box
    // open now ends at once (a form with ModalResultCancel), and a form shown modally later
    // returns ModalResultCancel at once, so that no nested loop keeps the program up.
    virtual void Terminate() = 0;
    virtual bool Terminated() const = 0;
    // Modal box: caption "Ostrel", error icon, one OK button.
    virtual void ShowErrorBox(const std::string& message) = 0;
    // The event loop's default report for an error that escaped a handler.
    virtual void ShowException(const std::exception& error) = 0;
    // Milliseconds, 32 bits, wrapping.
    virtual std::uint32_t GetTickCount() = 0;
    // Sleeps without processing events.
    virtual void Sleep(std::uint32_t milliseconds) = 0;
    // Adds division by zero to the masked floating-point exceptions of the UI thread.
    virtual void MaskDivisionByZero() = 0;
    // Synchronous calls from worker threads into the UI thread.
    virtual TSyncGate& SyncGate() = 0;

    // Runs on the UI thread when the window system has gone away and the backend is about to
    // end the process at once, past exit handlers; it may save files but touch no window.
    std::function<void()> OnWindowSystemLost;
};
