#pragma once

#include <memory>

class TApplication;
class TEdit;
class TForm;
class TPlatform;

// The address dialog: one instance, created hidden at start-up, serves every
// add and every edit. Its caption reads "Add computer" for both.
class TForm2
{
public:
    explicit TForm2(TPlatform& platform);
    TForm2(const TForm2&) = delete;
    TForm2& operator=(const TForm2&) = delete;
    ~TForm2();

    TForm& Form() { return *m_form; }
    TEdit& Edit1();

    // Shows the dialog modally over the main window and returns TForm::ModalResultSave
    // or TForm::ModalResultCancel. Once the program has been asked to end, the
    // dialog closes at once as if cancelled.
    int ShowModal();

    void FormShow();
    void Button1Click();
    void Button2Click();

private:
    TApplication& m_application;
    std::unique_ptr<TForm> m_form;
};
