#pragma once

#include "FakeApplication.h"
#include "FakeForm.h"
#include "platform/Canvas.h"
#include "platform/Keyboard.h"
#include "platform/Platform.h"
#include "platform/Shell.h"

#include <memory>
#include <string>
#include <vector>

class TFakePicture : public TPicture
{
public:
    TFakePicture(std::string name, int size)
        : Name(std::move(name))
        , m_size(size)
    { }
    int Width() const override { return m_size; }
    int Height() const override { return m_size; }
    const std::string Name;

private:
    int m_size;
};

class TFakeShell : public TShell
{
public:
    void OpenUrl(const std::string& url) override { OpenedUrls.push_back(url); }
    std::vector<std::string> OpenedUrls;
};

class TFakeKeyboard : public TKeyboard
{
public:
    void InjectControlM() override { ++Injections; }
    int Injections = 0;
};

// The whole fake backend. The file system and the sockets are left to the
// tests that need them: set FileSystemImpl / SocketsImpl before use.
class TFakePlatform : public TPlatform
{
public:
    TApplication& Application() override { return App; }
    std::unique_ptr<TForm> CreateForm(const TFormDecl& decl) override;
    std::unique_ptr<TPicture> LoadPicture(const std::string& name) override;
    TFileSystem& FileSystem() override;
    TShell& Shell() override { return ShellImpl; }
    TKeyboard& Keyboard() override { return KeyboardImpl; }
    TSocketApi& Sockets() override;

    // The forms made so far, in order of creation.
    std::vector<TFakeForm*> Forms;

    TFakeApplication App;
    TFakeShell ShellImpl;
    TFakeKeyboard KeyboardImpl;
    TFileSystem* FileSystemImpl = nullptr;
    TSocketApi* SocketsImpl = nullptr;
};
