#include "app/Unit1.h"
#include "list/ComputerList.h"
#include "platform/Form.h"
#include "platform/Platform.h"
#include "platform/Shell.h"
#include "ui/AddressOperations.h"
#include "ui/ListPointer.h"
#include "ui/RowPainter.h"
#include "ui/Viewer.h"

// The list view, the viewer and the address dialog, wired to the main window.

void TForm1::ListBox1DrawItem(int row, const TRect& rect, TOwnerDrawState state, TCanvas& canvas)
{
    m_rowPainter->Draw(canvas, rect, state.Selected, m_computers->Text(row), m_computers->Status(row));
}

void TForm1::ListBox1MouseDown(TMouseButton, TShiftState, TPoint at)
{
    SelectRowUnderPointer(m_form->ListBox("ListBox1"), *m_computers, at);
}

void TForm1::ListBox1ContextPopup(TPoint at, bool& handled)
{
    if (SuppressContextMenu(m_form->ListBox("ListBox1"), at))
        handled = true;
}

void TForm1::ListBox1Click()
{
    OpenSelectedComputer();
}

void TForm1::ListBox1DblClick() { }

void TForm1::ComputerOpenClick()
{
    OpenSelectedComputer();
}

void TForm1::ComputerEditClick()
{
    EditSelectedComputer();
}

void TForm1::ComputerDeleteClick()
{
    DeleteSelectedComputer();
}

void TForm1::Button1Click()
{
    AddComputer();
}

void TForm1::OpenSelectedComputer()
{
    m_viewer->OpenSelectedComputer();
}

void TForm1::WebBrowser1DownloadComplete()
{
    m_viewer->DownloadComplete();
}

void TForm1::WebBrowser1NavigateError(const std::string& url, const std::string&, int, bool& cancel)
{
    m_viewer->NavigateError(url, cancel);
}

void TForm1::WebBrowser1NewWindow(const std::string& url)
{
    // A page may ask for any scheme, a local file or another program's; the browser gets only web pages.
    if (IsWebAddress(url))
        m_platform.Shell().OpenUrl(url);
}

void TForm1::AddComputer()
{
    ::AddComputer(*Form2, *m_computers);
}

void TForm1::EditSelectedComputer()
{
    ::EditSelectedComputer(*Form2, *m_computers);
}

void TForm1::DeleteSelectedComputer()
{
    ::DeleteSelectedComputer(*m_computers);
}
