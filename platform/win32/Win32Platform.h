#pragma once

#include "platform/Platform.h"
#include "platform/win32/OleSession.h"
#include "platform/win32/Win32Application.h"
#include "platform/win32/Win32Keyboard.h"
#include "platform/windows/Win32FileSystem.h"
#include "platform/windows/Win32Shell.h"
#include "platform/windows/Win32SocketApi.h"

// The Win32 backend.
class TWin32Platform : public TPlatform
{
public:
    TApplication& Application() override { return m_application; }
    std::unique_ptr<TForm> CreateForm(const TFormDecl& decl) override;
    std::unique_ptr<TPicture> LoadPicture(const std::string& name) override;
    TFileSystem& FileSystem() override { return m_fileSystem; }
    TShell& Shell() override { return m_shell; }
    TKeyboard& Keyboard() override { return m_keyboard; }
    TSocketApi& Sockets() override { return m_sockets; }

    TWin32Application& Win32Application() { return m_application; }

private:
    // First and on the UI thread: the web view, the picture decoder and the shell need OLE
    // there, as a single-threaded apartment.
    TOleSession m_ole;
    TWin32Application m_application;
    TWin32FileSystem m_fileSystem;
    TWin32Shell m_shell;
    TWin32Keyboard m_keyboard { m_application.InjectedKeys() };
    TWin32SocketApi m_sockets;
};
