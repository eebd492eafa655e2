#pragma once

#include "platform/common/DesktopApplication.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// An application with a virtual clock: Sleep advances it, nothing waits. Tests script what a
// pump does through OnProcessMessages. Forms, modal showings and the end of the program follow
// the rules of the real backends.
class TFakeApplication : public TDesktopApplication
{
public:
    void ProcessMessages() override;
    // Notes the message; the report's wording is the real backends' concern.
    void ShowException(const std::exception& error) override;
    std::uint32_t GetTickCount() override { return m_now; }
    void Sleep(std::uint32_t milliseconds) override { m_now += milliseconds; }
    void MaskDivisionByZero() override { ++DivisionByZeroMasks; }

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

protected:
    // Pumps until the program is told to end: a test ends a run through the forms' rules.
    void RunMainLoop() override;
    void EndLoops() override { }
    void ShowBox(const std::string& caption, const std::string& text) override;
    std::string ProgramPath() const override { return "ostrel"; }

private:
    std::uint32_t m_now = 0;
};
