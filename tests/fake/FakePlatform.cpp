#include "FakePlatform.h"

#include <stdexcept>

std::unique_ptr<TForm> TFakePlatform::CreateForm(const TFormDecl& decl)
{
    auto form = std::make_unique<TFakeForm>(decl, App);
    Forms.push_back(form.get());
    return form;
}

std::unique_ptr<TPicture> TFakePlatform::LoadPicture(const std::string& name)
{
    return std::make_unique<TFakePicture>(name, name.find("badge") != std::string::npos ? 16 : 32);
}

TFileSystem& TFakePlatform::FileSystem()
{
    if (!FileSystemImpl)
        throw std::logic_error("this test set no file system");
    return *FileSystemImpl;
}

TSocketApi& TFakePlatform::Sockets()
{
    if (!SocketsImpl)
        throw std::logic_error("this test set no sockets");
    return *SocketsImpl;
}
