#include "platform/common/FormRegistry.h"

#include "platform/Form.h"

#include <algorithm>

void TFormRegistry::Add(TForm& form, TFormWindow& window)
{
    m_forms.push_back({ &form, &window });
    if (!m_main.Form)
        m_main = m_forms.back();
}

void TFormRegistry::Remove(const TForm& form)
{
    // A form that goes while shown modally leaves nothing behind for the end of the program to cancel.
    ModalEnded(form);
    std::erase_if(m_forms, [&form](const TEntry& entry) { return entry.Form == &form; });
    if (m_main.Form == &form)
        m_main = {};
}

bool TFormRegistry::IsMain(const TForm& form) const
{
    return m_main.Form == &form;
}

TFormWindow* TFormRegistry::MainWindow() const
{
    return m_main.Window;
}

void TFormRegistry::ModalStarted(TForm& form)
{
    m_modalForms.push_back(&form);
}

void TFormRegistry::ModalEnded(const TForm& form)
{
    std::erase(m_modalForms, &form);
}

void TFormRegistry::CancelModals() const
{
    // A copy: a showing that ends may end its form's registration with it.
    for (auto* form : std::vector(m_modalForms))
        form->SetModalResult(TForm::ModalResultCancel);
}
