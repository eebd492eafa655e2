#pragma once

#include <vector>

class TForm;
class TFormWindow;

// The forms that exist, each with its window; the main form, the first made while there is
// none, whose close ends the program and over which every later form is shown; and the forms
// shown modally now, innermost last, which the end of the program cancels.
class TFormRegistry
{
public:
    struct TEntry
    {
        TForm* Form;
        TFormWindow* Window;
    };

    void Add(TForm& form, TFormWindow& window);
    void Remove(const TForm& form);
    bool IsMain(const TForm& form) const;
    // The main form and its window; null while there is none.
    TForm* MainForm() const { return m_main.Form; }
    TFormWindow* MainWindow() const;
    const std::vector<TEntry>& Forms() const { return m_forms; }

    void ModalStarted(TForm& form);
    void ModalEnded(const TForm& form);
    // Ends every modal showing open now with ModalResultCancel.
    void CancelModals() const;

private:
    std::vector<TEntry> m_forms;
    TEntry m_main = {};
    std::vector<TForm*> m_modalForms;
};
