#pragma once

#include "platform/Application.h"
#include "platform/common/SyncGate.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// An application with a virtual clock: Sleep advances it, nothing waits.
// Tests script what a pump does through OnProcessMessages.
class TFakeApplication : public TApplication
{
public:
    void Run(TForm& mainForm) override;
    void ProcessMessages() override;
    void Terminate() override { m_terminated = true; }
    bool Terminated() const override { return m_terminated; }
    void ShowErrorBox(const std::string& message) override;
    void ShowException(const std::exception& error) override;
    std::uint32_t GetTickCount() override { return m_now; }
    void Sleep(std::uint32_t milliseconds) override { m_now += milliseconds; }
    void MaskDivisionByZero() override { ++DivisionByZeroMasks; }
    TSyncGate& SyncGate() override { return m_syncGate; }

    void Advance(std::uint32_t milliseconds) { m_now += milliseconds; }
    void SetTickCount(std::uint32_t now) { m_now = now; }

    // Runs inside every pump, after the hand-offs; a test's stand-in for user input.
    std::function<void()> OnProcessMessages;
    // Runs while an error box is "shown"; the box is dismissed when it returns.
    std::function<void(const std::string&)> OnErrorBox;

    std::vector<std::string> ErrorBoxes;
    std::vector<std::string> ExceptionReports;
    int Pumps = 0;
    int DivisionByZeroMasks = 0;

private:
    TSyncGate m_syncGate;
    std::uint32_t m_now = 0;
    bool m_terminated = false;
};
