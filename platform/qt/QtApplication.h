#pragma once

#include "platform/Application.h"
#include "platform/common/SyncGate.h"

#include <functional>
#include <memory>
#include <QApplication>
#include <vector>

class QEventLoop;
class QMessageBox;
class TQtForm;
class TQtEventApplication;

// The application object of the Qt backend: the one QApplication, the main
// event loop, the modal boxes and the dispatch wrapper every bound event runs in.
class TQtApplication : public TApplication
{
public:
    TQtApplication();
    ~TQtApplication() override;
    TQtApplication(const TQtApplication&) = delete;
    TQtApplication& operator=(const TQtApplication&) = delete;

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
    // so no exception ever reaches Qt's event loop.
    void Dispatch(const std::function<void()>& handler);

    // The first form made becomes the main form: closing it ends the program.
    void FormCreated(TQtForm& form);
    void FormDestroyed(TQtForm& form);
    TQtForm* MainForm() const { return m_mainForm; }

    // Modal showings end, cancelled, when the program is told to end.
    void ModalStarted(TQtForm& form);
    void ModalEnded(TQtForm& form);

private:
    void ShowBox(const QString& caption, const QString& text);
    QWidget* BoxOwner() const;

    std::unique_ptr<TQtEventApplication> m_application;
    TSyncGate m_syncGate;
    TQtForm* m_mainForm = nullptr;
    std::vector<TQtForm*> m_modalForms;
    std::vector<QMessageBox*> m_openBoxes;
    QEventLoop* m_mainLoop = nullptr;
    bool m_terminated = false;
};
