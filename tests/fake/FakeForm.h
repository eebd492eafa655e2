#pragma once

#include "FakeFormWindow.h"
#include "platform/common/DeclaredForm.h"

#include <functional>
#include <string_view>

class TDesktopApplication;

// A declared form over a fake window, under the same rules as the real backends' forms.
// ShowModal asks OnShowModal for the result, so a test plays the user inside the dialog.
class TFakeForm : public TDeclaredForm
{
public:
    TFakeForm(const TFormDecl& decl, TDesktopApplication& application);

    template <class T> T& Find(std::string_view name) { return dynamic_cast<T&>(FakeWindow().Control(name)); }
    TFakeFormWindow& FakeWindow() { return static_cast<TFakeFormWindow&>(Window()); }

    // Plays the user while the form is shown modally; returns the modal result, unless the
    // dialog set one itself or the program's end cancelled the showing meanwhile.
    std::function<int(TFakeForm&)> OnShowModal;
    int ModalShowings = 0;
};
