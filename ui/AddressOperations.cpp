#include "ui/AddressOperations.h"

#include "list/ComputerList.h"
#include "platform/Controls.h"
#include "platform/Form.h"
#include "ui/Form2.h"

#include <optional>

void AddComputer(TForm2& dialog, TComputerList& computers)
{
    dialog.Edit1().SetText(std::string());
    if (dialog.ShowModal() != TForm::ModalResultSave)
        return;
    computers.Append(dialog.Edit1().Text(), std::nullopt);
}

void EditSelectedComputer(TForm2& dialog, TComputerList& computers)
{
    const int selected = computers.Selection();
    if (selected == TComputerList::None)
        return;
    dialog.Edit1().SetText(computers.Text(selected));
    if (dialog.ShowModal() != TForm::ModalResultSave)
        return;
    // The main window takes no input while the dialog is up and the list only
    // grows at its end meanwhile, but the selection is read again all the same.
    const int stillSelected = computers.Selection();
    if (stillSelected != TComputerList::None)
        computers.ReplaceText(stillSelected, dialog.Edit1().Text());
}

void DeleteSelectedComputer(TComputerList& computers)
{
    const int selected = computers.Selection();
    if (selected != TComputerList::None)
        computers.Delete(selected);
}
