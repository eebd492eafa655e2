#include "platform/win32/Win32Platform.h"

#include "platform/common/DeclaredForm.h"
#include "platform/win32/Win32FormWindow.h"
#include "platform/win32/Win32Picture.h"

std::unique_ptr<TForm> TWin32Platform::CreateForm(const TFormDecl& decl)
{
    TFormRegistry& forms = m_application.Forms();
    const auto makeWindow = [&](TFormEvents& events) {
        // A form made after the main form is owned by it.
        const auto* main = static_cast<const TWin32FormWindow*>(forms.MainWindow());
        TWin32FormHost host { m_application.Dispatcher(), [this] { m_application.HandleNextMessage(); }, forms,
                              [this] { m_application.Terminate(); } };
        return std::make_unique<TWin32FormWindow>(decl, events, std::move(host), main ? main->Handle() : nullptr);
    };
    return std::make_unique<TDeclaredForm>(decl, m_application, forms, m_application.Dispatcher(), makeWindow);
}

std::unique_ptr<TPicture> TWin32Platform::LoadPicture(const std::string& name)
{
    return LoadPictureResource(name);
}

std::unique_ptr<TPlatform> CreatePlatform()
{
    return std::make_unique<TWin32Platform>();
}
