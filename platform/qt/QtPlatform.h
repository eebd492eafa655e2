#pragma once

#include "platform/Platform.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixSocketApi.h"
#include "platform/qt/QtApplication.h"
#include "platform/qt/QtEndRequests.h"
#include "platform/qt/QtKeyboard.h"
#include "platform/qt/QtShell.h"
#include "platform/qt/QtWindowSystemLoss.h"

#include <string>

// The Qt 6 backend on a POSIX system.
class TQtPlatform : public TPlatform
{
public:
    // dataBaseFolder stands for the all-users data folder: /var/lib for the program.
    explicit TQtPlatform(std::string dataBaseFolder);

    TApplication& Application() override { return m_application; }
    std::unique_ptr<TForm> CreateForm(const TFormDecl& decl) override;
    std::unique_ptr<TPicture> LoadPicture(const std::string& name) override;
    TFileSystem& FileSystem() override { return m_fileSystem; }
    TShell& Shell() override { return m_shell; }
    TKeyboard& Keyboard() override { return m_keyboard; }
    TSocketApi& Sockets() override { return m_sockets; }

private:
    // First: every other piece needs the QApplication to exist.
    TQtApplication m_application;
    TQtEndRequests m_endRequests;
    TQtWindowSystemLoss m_windowSystemLoss;
    TPosixFileSystem m_fileSystem;
    TQtShell m_shell;
    TQtKeyboard m_keyboard;
    TPosixSocketApi m_sockets;
};
