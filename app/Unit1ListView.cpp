#include "app/Unit1.h"

// The list view, the viewer and the address dialog, wired to the main window.

void TForm1::ListBox1DrawItem(int, const TRect&, TOwnerDrawState, TCanvas&) { }

void TForm1::ListBox1MouseDown(TMouseButton, TShiftState, TPoint) { }

void TForm1::ListBox1ContextPopup(TPoint, bool&) { }

void TForm1::ListBox1Click() { }

void TForm1::ListBox1DblClick() { }

void TForm1::ComputerOpenClick() { }

void TForm1::ComputerEditClick() { }

void TForm1::ComputerDeleteClick() { }

void TForm1::Button1Click() { }

void TForm1::OpenSelectedComputer() { }

void TForm1::WebBrowser1DownloadComplete() { }

void TForm1::WebBrowser1NavigateError(const std::string&, const std::string&, int, bool&) { }

void TForm1::AddComputer() { }

void TForm1::EditSelectedComputer() { }

void TForm1::DeleteSelectedComputer() { }
