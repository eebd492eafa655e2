#pragma once

#include <memory>
#include <string>

class TApplication;
class TFileSystem;
class TForm;
class TKeyboard;
class TPicture;
class TShell;
class TSocketApi;
struct TFormDecl;

// Everything the program needs of a desktop toolkit and its operating system.
class TPlatform
{
public:
    virtual ~TPlatform() = default;
    virtual TApplication& Application() = 0;
    virtual std::unique_ptr<TForm> CreateForm(const TFormDecl& decl) = 0;
    // A picture from the program's resources, by file name ("computer.png").
    virtual std::unique_ptr<TPicture> LoadPicture(const std::string& name) = 0;
    virtual TFileSystem& FileSystem() = 0;
    virtual TShell& Shell() = 0;
    virtual TKeyboard& Keyboard() = 0;
    virtual TSocketApi& Sockets() = 0;
};

// The backend this build was configured with.
std::unique_ptr<TPlatform> CreatePlatform();
