#include "FakeForm.h"

#include "platform/common/DesktopApplication.h"

TFakeForm::TFakeForm(const TFormDecl& decl, TDesktopApplication& application)
    : TDeclaredForm(decl, application, application.Forms(), application.Dispatcher(),
                    [&decl](::TFormEvents& events) { return std::make_unique<TFakeFormWindow>(decl, events); })
{
    FakeWindow().OnRunModal = [this](const std::function<bool()>& ended) {
        ++ModalShowings;
        const int played = OnShowModal ? OnShowModal(*this) : ModalResultCancel;
        if (!ended())
            SetModalResult(played);
    };
}
