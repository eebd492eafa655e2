#pragma once

#include "platform/Application.h"
#include "platform/common/Dispatch.h"
#include "platform/common/FormRegistry.h"
#include "platform/common/SyncGate.h"

#include <functional>
#include <string>

// The application rules every toolkit backend shares: the run of the main form, the end of
// the program with the modal showings it cancels, the error boxes' texts and the dispatch
// wrapper every bound event runs in. The backend supplies the native loop and boxes.
class TDesktopApplication : public TApplication
{
public:
    void Run(TForm& mainForm) override;
    void Terminate() override;
    bool Terminated() const override { return m_terminated; }
    void ShowErrorBox(const std::string& message) override;
    void ShowException(const std::exception& error) override;
    TSyncGate& SyncGate() override { return m_syncGate; }

    // Runs one bound event handler; whatever escapes it becomes the default error report, so
    // no exception ever reaches the toolkit's or the system's code.
    void Dispatch(const std::function<void()>& handler);
    TDispatch Dispatcher();
    TFormRegistry& Forms() { return m_forms; }
    const TFormRegistry& Forms() const { return m_forms; }

protected:
    // Handles events until Terminate has been asked for.
    virtual void RunMainLoop() = 0;
    // Terminate's native part: ends the main loop, the message boxes and menus open now, and
    // wakes a loop that waits for an event.
    virtual void EndLoops() = 0;
    // A modal box with an error icon and one OK button, over the active form, else the main one.
    virtual void ShowBox(const std::string& caption, const std::string& text) = 0;
    virtual std::string ProgramPath() const = 0;
    // After the main form hid at the end of Run: sends what is pending to the window system.
    virtual void FlushWindows() { }

private:
    TSyncGate m_syncGate;
    TFormRegistry m_forms;
    bool m_terminated = false;
};
