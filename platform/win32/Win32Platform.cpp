#include "platform/win32/Win32Platform.h"

#include "platform/win32/Win32Form.h"
#include "platform/win32/Win32Picture.h"

std::unique_ptr<TForm> TWin32Platform::CreateForm(const TFormDecl& decl)
{
    return std::make_unique<TWin32Form>(decl, m_application);
}

std::unique_ptr<TPicture> TWin32Platform::LoadPicture(const std::string& name)
{
    return LoadPictureResource(name);
}

std::unique_ptr<TPlatform> CreatePlatform()
{
    return std::make_unique<TWin32Platform>();
}
