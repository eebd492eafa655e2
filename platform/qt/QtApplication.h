#pragma once

#include "platform/common/DesktopApplication.h"

#include <memory>
#include <QApplication>
#include <vector>

class QEventLoop;
class QMessageBox;
class TQtEventApplication;

// The application object of the Qt backend: the one QApplication, the main event loop and
// the modal boxes; the rules of forms, modals and errors are TDesktopApplication's.
class TQtApplication : public TDesktopApplication
{
public:
    TQtApplication();
    ~TQtApplication() override;
    TQtApplication(const TQtApplication&) = delete;
    TQtApplication& operator=(const TQtApplication&) = delete;

    void ProcessMessages() override;
    std::uint32_t GetTickCount() override;
    void Sleep(std::uint32_t milliseconds) override;
    void MaskDivisionByZero() override;

protected:
    void RunMainLoop() override;
    void EndLoops() override;
    void ShowBox(const std::string& caption, const std::string& text) override;
    std::string ProgramPath() const override;
    void FlushWindows() override;

private:
    QWidget* BoxOwner() const;

    std::unique_ptr<TQtEventApplication> m_application;
    std::vector<QMessageBox*> m_openBoxes;
    QEventLoop* m_mainLoop = nullptr;
};
